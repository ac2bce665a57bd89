// The converter program's output under real write failures: a full device, a closed pipe and an
// -o file that cannot be written or must not be replaced; devices, FIFOs and links are made in
// the test's own folder.
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
    // A full device of our own (the machine's own device files are never written).
    fullDevice_ = Shell("mknod full c 1 7") == 0;
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
    const std::string line = "cd '" + folder_ + "' && C='" RURUZIR_CONVERT_PROGRAM "' && { " +
                             command + "\n} 2>stderr.txt";
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string folder_;
  bool fullDevice_ = false;
};

const char kConverted[] =
    "reading,frost point \xC2\xB0"
    "C at 1013.25 mbar\n-20,-20.0\n-40,-40.0\n";

TEST_F(ConverterOutputTest, WriteFailuresEndTheRunWithStatusFive) {
  struct Case {
    const char* command;
    const char* message;
  };
  const Case cases[] = {
      {"$C --batch rows.csv >full", "cannot write standard output: No space left on device"},
      {"$C -20 >full", "cannot write standard output: No space left on device"},
      {"$C --batch -o missing/out.csv rows.csv", "cannot write 'missing/out.csv'"},
      {"mkdir folder.csv && $C --batch -o folder.csv rows.csv", "'folder.csv': it is a folder"},
      {"$C --batch -o rows.csv rows.csv", "'rows.csv' is the input file"},
  };
  if (!fullDevice_) GTEST_SKIP() << "no device node can be made here";
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
  const std::string files = fullDevice_ ? "5" : "4";
  EXPECT_EQ(Shell("test $(ls | wc -l) -eq " + files), 0) << "a temporary file was left";
}

}  // namespace

namespace {

// What -o does to what it names, and what the program's statuses say, run as a user would.
TEST_F(ConverterOutputTest, OutputTargetsAndStatuses) {
  if (!fullDevice_) GTEST_SKIP() << "no device node can be made here";
  struct Case {
    const char* command;
    int status;
    const char* message;  // in standard error; "" for none at all
    const char* file;     // then read back
    const char* content;
  };
  const Case cases[] = {
      // Not a regular file: written to as it is, never replaced.
      {"$C --batch -o full rows.csv; s=$?; test -c full && exit $s", 5,
       "cannot write 'full': No space left on device", "rows.csv", "reading\n-20\n-40\n"},
      {"mkfifo fifo && { cat fifo >got & $C --batch -o fifo rows.csv; s=$?; wait; exit $s; }", 0,
       "rows converted: 2, failed: 0", "got", kConverted},
      // A link: its target is replaced, the link kept.
      {"echo old >real.csv && ln -s real.csv link.csv && $C --batch -o link.csv rows.csv && "
       "test -L link.csv",
       0, "rows converted: 2", "real.csv", kConverted},
      {"ln -s new.csv dangling.csv && $C --batch -o dangling.csv rows.csv && test -L dangling.csv",
       0, "rows converted: 2", "new.csv", kConverted},
      {"ln -s missing/x.csv lost.csv && $C --batch -o lost.csv rows.csv", 5,
       "cannot write 'lost.csv': No such file or directory", "rows.csv", "reading\n-20\n-40\n"},
      // Read-only and hard-linked files are kept as they are.
      {"echo old >ro.csv && chmod 444 ro.csv && $C --batch -o ro.csv rows.csv", 5,
       "cannot write 'ro.csv': it is read-only", "ro.csv", "old\n"},
      {"echo old >a.csv && ln a.csv b.csv && $C --batch -o a.csv rows.csv", 5,
       "'a.csv': it has 2 names (hard links)", "b.csv", "old\n"},
      // Rows that failed: the output is written all the same.
      {"printf -- '-20\\nx\\n' >bad.csv && $C --batch -o out.csv bad.csv", 4,
       "rows converted: 1, failed: 1, the first at line 2", "out.csv",
       "-20,-20.0\nx,error: not a number: 'x'\n"},
      // The summary: a failure when it cannot be written, none with --quiet when all went well.
      {"($C --batch rows.csv 2>full >out.csv)", 5, "", "out.csv", kConverted},
      {"$C --quiet --batch rows.csv >out.csv", 0, "", "out.csv", kConverted},
      {"printf 'reading\\n-20\\n-40' | $C --quiet --batch >out.csv", 0,
       "rows converted: 2, failed: 0; line 3, the last, has no line end: was the file cut short?",
       "out.csv", kConverted},
      {"printf -- '-20\\n\"-40\\n' | $C --batch -o out.csv", 6,
       "the input ends inside quotes: the quote opened on line 2 is never closed", "rows.csv",
       "reading\n-20\n-40\n"},
      // A signal removes the temporary file and keeps the old output.
      {"echo old >out.csv && mkfifo in && { sleep 5 >in & w=$!; $C --batch in -o out.csv & "
       "p=$!; while ! ls out.csv.* >/dev/null 2>&1; do sleep 0.05; done; kill -TERM $p; "
       "wait $p; s=$?; kill $w; ls out.csv.* >/dev/null 2>&1 && exit 99; exit $s; }",
       143, "", "out.csv", "old\n"},
      // The single conversion's statuses.
      {"$C --to kelvin 1", 1, "--to: unknown moisture unit 'kelvin'", "rows.csv",
       "reading\n-20\n-40\n"},
      {"$C 12abc", 2, "not a number: '12abc'", "rows.csv", "reading\n-20\n-40\n"},
      {"$C -- -150 >out.csv", 3, "stay between -140", "out.csv", ""},
      {"$C --batch rows.csv other.csv", 1,
       "--batch reads one file at a time, not 'rows.csv' and 'other.csv': run it once for each",
       "rows.csv", "reading\n-20\n-40\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(Shell(c.command), c.status);
    const std::string errors = Read("stderr.txt");
    if (c.message[0]) {
      EXPECT_NE(errors.find(c.message), std::string::npos) << errors;
    } else {
      EXPECT_EQ(errors.find("ruruzir-convert"), std::string::npos) << errors;
    }
    EXPECT_EQ(Read(c.file), c.content);
  }
}

}  // namespace
