#include "organizer/MemoBook.h"

#include <gtest/gtest.h>
