#include "cli/WorkflowCommands.h"
#include "cli/MaintenanceCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "resources/Strings.h"
#include "tests/app/WorkflowTestBench.h"
#include "tests/support/CScriptedUi.h"

namespace {

struct Output {
  std::ostringstream out;
  std::ostringstream err;
};

} // namespace

TEST(WorkflowCommands, SendWithoutYesShowsTheSafetyTextAndWritesNothing) {
  CScriptedUi ui;
  CWorkflowTestBench bench;
  bench.Add(1, "FT 101");
  bench.Start();
  const std::string path = ::testing::TempDir() + "workflow_commands_send.cmm";
  bench.doc.Save(path);

  Output o;
  EXPECT_EQ(cli::SendCommand(bench.context, {path}, o.out, o.err), 1);
  EXPECT_NE(o.out.str().find(LoadString(390)), std::string::npos);
  EXPECT_NE(o.err.str().find("--yes"), std::string::npos);
  EXPECT_EQ(bench.line.RequestsSeen(), 0u);

  Output sent;
  EXPECT_EQ(
      cli::SendCommand(bench.context, {path, "--yes"}, sent.out, sent.err), 0);
  EXPECT_NE(sent.out.str().find(LoadString(392)), std::string::npos);
  std::remove(path.c_str());
}

TEST(WorkflowCommands, ReceiveWritesTheFileAndConnectPrintsTagAndAccess) {
  CScriptedUi ui;
  CWorkflowTestBench bench;
  bench.Add(3, "LIC-7");
  bench.Start();
  bench.doc.SetPollingAddress(3);

  Output connect;
  EXPECT_EQ(cli::ConnectCommand(bench.context, {}, connect.out, connect.err),
            0);
  EXPECT_NE(connect.out.str().find("Tag: LIC-7"), std::string::npos);
  EXPECT_NE(connect.out.str().find(LoadString(59148)), std::string::npos);

  const std::string path =
      ::testing::TempDir() + "workflow_commands_receive.cmm";
  Output receive;
  EXPECT_EQ(cli::ReceiveCommand(bench.context, {"-o", path}, receive.out,
                                receive.err),
            0);
  // Away from a terminal the progress is a line per step.
  EXPECT_EQ(receive.err.str().find('\r'), std::string::npos) << receive.err.str();
  EXPECT_NE(receive.err.str().find("SP parameters... (40%)\n"), std::string::npos)
      << receive.err.str();
  CMVDoc loaded;
  loaded.Open(path);
  EXPECT_EQ(loaded.Transmitter().DeviceInfo().Tag().substr(0, 5), "LIC-7");
  std::remove(path.c_str());
}

TEST(WorkflowCommands, BadArgumentsAreRefusedWithAReasonBeforeAnyExchange) {
  CScriptedUi ui;
  CWorkflowTestBench bench;
  bench.Start();
  Output o;
  EXPECT_EQ(cli::ChangeAddressCommand(bench.context, {"5"}, o.out, o.err), 2);
  EXPECT_EQ(
      cli::ChangeAddressCommand(bench.context, {"5", "300"}, o.out, o.err), 2);
  EXPECT_EQ(cli::ConnectCommand(bench.context, {"abc"}, o.out, o.err), 2);
  EXPECT_EQ(cli::ReceiveCommand(bench.context, {}, o.out, o.err), 2);
  EXPECT_EQ(
      cli::ReadOutputsCommand(bench.context, {"--count", "0"}, o.out, o.err),
      2);
  EXPECT_EQ(
      cli::ReadOutputsCommand(bench.context, {"--interval"}, o.out, o.err), 2);
  EXPECT_EQ(bench.line.RequestsSeen(), 0u);
  EXPECT_NE(o.err.str().find("\"300\""), std::string::npos);
}

TEST(WorkflowCommands, ReadOutputsPrintsEachAssignedVariableWithItsUnits) {
  CScriptedUi ui;
  CWorkflowTestBench bench;
  bench.Add(1, "FT 101");
  bench.Start();
  Output o;
  EXPECT_EQ(cli::ReadOutputsCommand(bench.context,
                                    {"--count", "2", "--interval", "0"}, o.out,
                                    o.err),
            0);
  const std::string text = o.out.str();
  // 25 inches of water as the simulator's DP: six significant digits kept.
  EXPECT_NE(text.find(LoadString(450) + ": 25.0000 "), std::string::npos)
      << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
}
