// Where scripts send the tool's output: pipes, FIFOs, open descriptors,
// devices, hard-linked files, folders the user may not change, and batches
// stopped part way. Each case is the shell line a script would run; the
// bytes must arrive and nothing else may be lost.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/cli/tool_test.h"

namespace qrsmith {
namespace {

class CliTargets : public testing::ToolTest {
 protected:
  // Runs `script` under bash in the scratch folder with $Q the tool; `ref.png`
  // there holds the symbol of "hi" as a plain file write makes it.
  testing::ProcessResult Shell(const std::string& script) {
    const std::string prelude = "cd \"$1\" && Q=\"$2\" && \"$Q\" -o ref.png hi || exit 99\n";
    return testing::RunProcess("/bin/bash",
                               {"-c", prelude + script, "bash", dir_.string(), QRSMITH_BINARY});
  }
};

TEST_F(CliTargets, EveryKindOfTargetGetsTheBytesAndKeepsWhatWasThere) {
  // The scratch folder must be open to the unprivileged user of the last cases.
  ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
  const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups \"$Q\"";
  struct Case {
    const char* what;
    std::string script;  // exits 0 when the user's expectation holds
  } const cases[] = {
      {"a regular file is replaced: a new inode",
       "echo old > r.png; i=$(stat -c %i r.png); \"$Q\" -o r.png hi && cmp r.png ref.png && "
       "[ \"$(stat -c %i r.png)\" != \"$i\" ]"},
      {"a pipe", "\"$Q\" -o /dev/stdout -t png hi | cat > p.png && cmp p.png ref.png"},
      {"a FIFO",
       "mkfifo f && { cat f > f.png & } && \"$Q\" -o f -t png hi && wait && "
       "cmp f.png ref.png"},
      {"standard output opened with >>",
       "echo LOG > log && \"$Q\" -o /dev/stdout -t png hi >> log && "
       "{ echo LOG; cat ref.png; } | cmp - log"},
      {"standard output between a script's own lines",
       "{ echo HEAD; \"$Q\" -o /dev/stdout -t png hi; echo FOOT; } > s && "
       "{ echo HEAD; cat ref.png; echo FOOT; } | cmp - s"},
      {"/dev/null, a check alone", "\"$Q\" -o /dev/null -t png --verify hi 2>/dev/null"},
      {"a process substitution",
       "\"$Q\" -o >(cat > ps.png) -t png hi && wait $! && cmp ps.png ref.png"},
      {"a hard link: both names get the bytes",
       "echo old > a.png && ln a.png b.png && \"$Q\" -o a.png hi && cmp b.png ref.png && "
       "[ \"$(stat -c %h a.png)\" = 2 ]"},
      {"a writable file in a read-only folder, as another user",
       "mkdir ro && echo old > ro/w.png && chmod 666 ro/w.png && " + asNobody +
           " -o ro/w.png hi && cmp ro/w.png ref.png && [ \"$(stat -c %U:%a ro/w.png)\" = "
           "root:666 ] && [ \"$(ls -A ro)\" = w.png ]"},
      {"another user's writable file in a sticky folder",
       "mkdir -m 1777 st && echo old > st/o.png && chmod 666 st/o.png && " + asNobody +
           " -o st/o.png hi && cmp st/o.png ref.png && [ \"$(stat -c %U st/o.png)\" = root ]"},
  };
  for (const Case& c : cases) {
    const testing::ProcessResult r = Shell(c.script);
    EXPECT_EQ(r.status, 0) << c.what << "\n" << r.err;
  }
}

// What scripts feed the tool: unset variables, files saved with a byte
// order mark, batches on standard input, rows naming one file, a full disk
// as standard output.
TEST_F(CliTargets, ScriptInputsAreTakenAsMeantOrRefused) {
  const struct {
    const char* what;
    const char* script;
  } cases[] = {
      {"an empty password is refused, nothing written",
       "\"$Q\" --encryption-password \"$UNSET\" -o e.png secret 2> err; [ $? = 1 ] && "
       "grep -qx 'qrsmith: the password is empty' err && [ ! -e e.png ]"},
      {"a byte order mark before standard input is dropped",
       "printf '\\357\\273\\277hi' | \"$Q\" -o bom.png && cmp bom.png ref.png"},
      {"a spreadsheet's CSV with a byte order mark, rows naming one file (or one hard-linked "
       "file): the later wins",
       "printf '\\357\\273\\277output,text\\nd.png,first\\nd.png,second\\nd.png,hi\\n' > b.csv && "
       "\"$Q\" --batch b.csv 2> err && cmp d.png ref.png && "
       "grep -q \"line 3: 'd.png' replaces the file of line 2\" err && "
       "echo old > h.png && ln h.png h2.png && sed s/d.png/h.png/ b.csv > h.csv && "
       "\"$Q\" --batch h.csv 2> /dev/null && cmp h2.png ref.png"},
      {"a plain batch with a byte order mark, from standard input",
       "printf '\\357\\273\\277hi\\n' | \"$Q\" --batch - -o 'in%n.png' && cmp in1.png ref.png"},
      {"in a GBK locale an argument is the text it shows there; the terminal rendering (full-width "
       "blocks, GBK lacking the upper half block) and messages are in GBK, a file or a -t pipe "
       "keeps its UTF-8",
       "mkdir loc && localedef -f GBK -i zh_CN loc/zh_CN.GBK 2>/dev/null; "
       "export LOCPATH=$PWD/loc; gbk() { LC_ALL=zh_CN.GBK \"$Q\" \"$@\"; }; "
       "u8() { LC_ALL=C.UTF-8 \"$Q\" \"$@\"; }; "
       "gbk -t txt -o gbk.txt \"$(printf '\\304\\343')\" && "
       "u8 -t txt -o utf8.txt \"$(printf '\\344\\275\\240')\" && cmp gbk.txt utf8.txt && "
       "gbk hi | iconv -f GBK -t UTF-8 > shown && u8 -t ansi hi | "
       "sed 's/\\x1b\\[47m  /\u2588/g; s/\\x1b\\[40m  /\u3000/g; s/\\x1b\\[0m//' | cmp - shown && "
       "gbk -t utf8 hi | cmp - <(u8 hi) && "
       "gbk -o \"$(printf 'x\\304\\343.qq')\" hi 2>&1 | LC_ALL=C grep -qF \"$(printf "
       "\"'x\\304\\343.qq'\")\""},
      {"--help and --version to a full device",
       "\"$Q\" --help > /dev/full 2>/dev/null; [ $? = 2 ] && "
       "\"$Q\" --version > /dev/full 2>/dev/null; [ $? = 2 ]"},
  };
  for (const auto& c : cases) {
    const testing::ProcessResult r = Shell(c.script);
    EXPECT_EQ(r.status, 0) << c.what << "\n" << r.err;
  }
}

// A batch on a file system without unnamed files (a FUSE mount) stages each
// file under a hidden name. An interrupt removes them all; after a kill, the
// next run into the folder removes them, and nothing of another name.
TEST_F(CliTargets, AStoppedBatchLeavesNoStagedNameBehind) {
  const testing::ProcessResult r = Shell(R"sh(
set -m  # background jobs of their own, which take SIGINT
mkdir back mnt && bindfs back mnt || exit 10
trap 'umount mnt' EXIT
seq -f 'https://example.com/%g' 20000 > urls
staged() { ls -A back | grep -c '^\..*\.qrsmith-[a-z0-9]\{6\}$'; }
"$Q" --batch urls -o 'mnt/r%n.png' 2> err & pid=$!
until [ "$(staged)" -gt 0 ]; do sleep 0.02; done
kill -INT $pid; wait $pid
echo "INT status $? staged $(staged) said $(grep -c 'stopped by signal 2: .* finished' err)"
"$Q" --batch urls -o 'mnt/r%n.png' 2> /dev/null & pid=$!
until [ "$(staged)" -gt 0 ]; do sleep 0.02; done
kill -KILL $pid; wait $pid
echo "KILL status $? left $([ "$(staged)" -gt 0 ] && echo some)"
touch -d '1 minute ago' back/.keep.png.qrsmith-ABCDEF back/keep.qrsmith-abcdef
"$Q" -o mnt/one.png hi && echo "rerun staged $(staged) kept $(ls -A back | grep -c keep)"
)sh");
  EXPECT_EQ(r.out,
            "INT status 130 staged 0 said 1\nKILL status 137 left some\nrerun staged 0 kept 2\n")
      << r.err;
}

}  // namespace
}  // namespace qrsmith
