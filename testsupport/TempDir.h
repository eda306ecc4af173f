// A temporary program folder for one test, removed with everything in it at the end.
#pragma once

#include <string>
#include <string_view>

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder with one trailing separator, the form the program folder has.
  const std::string& Path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + std::string(name); }

  void Write(std::string_view name, std::string_view bytes) const;
  std::string Read(std::string_view name) const;  // empty when missing
  bool Exists(std::string_view name) const;

 private:
  std::string path_;
};
