// The converter program's output under real write failures: a full device, a closed pipe and an
// -o file that cannot be written or must not be replaced.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A fresh folder for one test, removed afterwards.
class ConverterOutputTest : public testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/converter-output-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder_ = name;
    Write("rows.csv", "reading\n-20\n-40\n");
  }
  void TearDown() override { Shell("rm -rf '" + folder_ + "'"); }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ + "/" + name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) {
    std::stringstream text;
    text << std::ifstream(folder_ + "/" + name, std::ios::binary).rdbuf();
    return text.str();
  }
  // Runs a shell command in the folder; the converter is $C. Returns the exit status of the
  // command, which writes the converter's own into "status" where a pipe hides it.
  int Shell(const std::string& command) {
    const std::string line =
        "cd '" + folder_ + "' && C='" RURUZIR_CONVERT_PROGRAM "' && " + command + " 2>stderr.txt";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string folder_;
};

TEST_F(ConverterOutputTest, WriteFailuresEndTheRunWithStatusFive) {
  struct Case {
    const char* command;
    const char* message;
  };
  const Case cases[] = {
      {"$C --batch rows.csv >/dev/full", "cannot write standard output: No space left on device"},
      {"$C -20 >/dev/full", "cannot write standard output: No space left on device"},
      {"$C --batch -o missing/out.csv rows.csv", "cannot write 'missing/out.csv'"},
      {"mkdir folder.csv && $C --batch -o folder.csv rows.csv", "'folder.csv': it is a folder"},
      {"$C --batch -o rows.csv rows.csv", "'rows.csv' is the input file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(Shell(c.command), 5);
    EXPECT_NE(Read("stderr.txt").find(c.message), std::string::npos) << Read("stderr.txt");
  }
  EXPECT_EQ(Read("rows.csv"), "reading\n-20\n-40\n");
  // A closed pipe: more output than the pipe holds, to a reader that has gone.
  std::string rows = "reading\n";
  for (int i = 0; i < 20000; ++i) rows += "-20.5\n";
  Write("many.csv", rows);
  Shell("($C --batch many.csv 2>stderr.txt; echo $? >status) | true");
  EXPECT_EQ(Read("status"), "5\n");
  EXPECT_NE(Read("stderr.txt").find("cannot write standard output: Broken pipe"),
            std::string::npos);
}

// -o: the complete result replaces the file; a refused input leaves it as it was, and no
// temporary file stays behind either way.
TEST_F(ConverterOutputTest, OutputFileIsReplacedOnlyWhenComplete) {
  Write("out.csv", "old\n");
  Write("empty.csv", "");
  EXPECT_EQ(Shell("$C --batch -o out.csv empty.csv"), 6);
  EXPECT_EQ(Read("out.csv"), "old\n");
  EXPECT_EQ(Shell("$C --batch --output=out.csv rows.csv"), 0);
  EXPECT_EQ(Read("out.csv"),
            "reading,frost point \xC2\xB0"
            "C at 1013.25 mbar\n-20,-20.0\n-40,-40.0\n");
  EXPECT_EQ(Shell("test $(ls | wc -l) -eq 4"), 0) << "a temporary file was left";
}

}  // namespace
