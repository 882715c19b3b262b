// A new, empty directory in the system's temporary folder for one test,
// removed with all it holds when the test ends.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace quillmor {

class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::string& prefix) {
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    std::random_device random;
    // A name already taken (by a test running beside this one, or left by a
    // run that crashed) gives false: try another. Errors throw.
    do {
      path_ = temp / (prefix + "-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace quillmor
