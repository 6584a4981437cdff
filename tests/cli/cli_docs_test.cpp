// The help, the bash completion and the manual page are written by hand: each
// must name every option of the tool's table and every payload command with
// its flags, so that a new option cannot be left out of one of them.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_options.h"
#include "cli/payload_commands.h"
#include "tests/cli/tool_test.h"
#include "tests/support/file_contents.h"

namespace qrsmith::testing {
namespace {

class OptionDocs : public ToolTest {
 protected:
  // groff writes a hyphen of an option name as "\-".
  static std::string Groff(const std::string& s) {
    std::string out;
    for (char c : s) out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
  }
  static void ExpectNamed(const std::string& what, const std::string& help,
                          const std::string& completion, const std::string& manual) {
    EXPECT_NE(help.find(what), std::string::npos) << what << " is missing from --help";
    EXPECT_NE(completion.find(what), std::string::npos) << what << " is missing from completion";
    EXPECT_NE(manual.find(Groff(what)), std::string::npos) << what << " is missing from qrsmith.1";
  }
};

TEST_F(OptionDocs, EveryOptionAndPayloadFlagIsNamedEverywhere) {
  const std::string help = Run({"--help"}).out;
  const std::string completion = FileText(QRSMITH_SOURCE_DIR "/completion/qrsmith.bash");
  const std::string manual = FileText(QRSMITH_SOURCE_DIR "/man/qrsmith.1");
  for (const std::string& name : cli::OptionLongNames()) {
    ExpectNamed("--" + name, help, completion, manual);
  }
  for (const cli::PayloadCommand& command : cli::PayloadCommands()) {
    ExpectNamed(command.name, help, completion, manual);
    const std::string commandHelp = Run({command.name, "--help"}).out;
    for (const cli::PayloadFlag& flag : command.flags) {
      ExpectNamed("--" + flag.name, commandHelp, completion, manual);
    }
  }
}

}  // namespace
}  // namespace qrsmith::testing
