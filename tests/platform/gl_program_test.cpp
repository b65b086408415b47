// Every GL program of platform/ is built through one helper that reports
// the stage that failed with the driver's own words.
#include <gtest/gtest.h>

#include <string>

#include "platform/gl_program.h"
#include "platform/window.h"

namespace {

class GlProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(openWindow(WindowRequest{"test", 4, 4, false, true, false, true}, &error)) << error;
  }
  void TearDown() override { closeWindow(); }
};

constexpr char kVertex[] = "#version 330 core\nvoid main() { gl_Position = vec4(0.0, 0.0, 0.0, 1.0); }\n";
constexpr char kFragment[] = "#version 330 core\nout vec4 f;\nvoid main() { f = vec4(1.0); }\n";
constexpr char kBrokenFragment[] = "#version 330 core\nout vec4 f;\nvoid main() { f = undeclaredColour; }\n";

TEST_F(GlProgram, BuildsAndReportsTheFailingStageWithTheDriversLog) {
  std::string log;
  const GLuint program = buildProgram(kVertex, kFragment, &log);
  EXPECT_NE(program, 0u) << log;
  glDeleteProgram(program);

  EXPECT_EQ(buildProgram(kVertex, kBrokenFragment, &log), 0u);
  EXPECT_EQ(log.rfind("fragment shader: ", 0), 0u) << log;
  EXPECT_NE(log.find("undeclaredColour"), std::string::npos) << log;

  EXPECT_EQ(buildProgram("#version 330 core\nvoid main() { gl_Position = nowhere; }\n", kFragment, &log), 0u);
  EXPECT_EQ(log.rfind("vertex shader: ", 0), 0u) << log;
  EXPECT_NE(log.find("nowhere"), std::string::npos) << log;

  // Both stages compile; the fragment shader has no main() to link.
  EXPECT_EQ(buildProgram(kVertex, "#version 330 core\nout vec4 f;\nvoid helper() { f = vec4(1.0); }\n", &log), 0u);
  EXPECT_EQ(log.rfind("link: ", 0), 0u) << log;
}

}  // namespace
