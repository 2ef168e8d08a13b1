// A folder of a test's own in the temporary folder.
#ifndef LINTREL_TESTS_TOOLS_SCRATCH_FOLDER_H_
#define LINTREL_TESTS_TOOLS_SCRATCH_FOLDER_H_

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace lintrel::cli {

// Made with a unique name, so that tests running at once never share it;
// removed with what it holds at the end of its scope. The path is empty
// when the folder could not be made.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lintrel-test-XXXXXX");
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    if (!path_.empty()) std::filesystem::remove_all(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

  // Writes `bytes` to the file `name` (which may name folders on the way,
  // made as needed) and answers its path.
  std::string Write(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace lintrel::cli

#endif  // LINTREL_TESTS_TOOLS_SCRATCH_FOLDER_H_
