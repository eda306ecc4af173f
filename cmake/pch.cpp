// The precompiled headers' own target: nothing to compile but the headers (see DialnestPch.cmake).
