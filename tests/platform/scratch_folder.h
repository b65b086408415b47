// A fresh temporary folder that is the working directory while it lives.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class ScratchFolder {
 public:
  ScratchFolder() {
    char previous[PATH_MAX];
    if (getcwd(previous, sizeof previous)) previous_ = previous;
    char pattern[] = "/tmp/gm-font-test-XXXXXX";
    if (mkdtemp(pattern)) path_ = pattern;
    EXPECT_FALSE(path_.empty());
    EXPECT_EQ(chdir(path_.c_str()), 0);
  }
  ~ScratchFolder() {
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) ADD_FAILURE() << "cannot go back";
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  void write(const std::string& name, const std::vector<char>& bytes) const {
    std::ofstream file(path_ + "/" + name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(file.good()) << name;
  }

 private:
  std::string previous_;
  std::string path_;
};
