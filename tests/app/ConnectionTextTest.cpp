#include "app/ConnectionText.h"

#include <gtest/gtest.h>

#include <string>

#include "app/CConnectEngine.h"
#include "tests/app/WorkflowTestBench.h"
#include "tests/support/CScriptedUi.h"

namespace {

class ConnectionTextTest : public testing::Test {
  protected:
    void ConnectTo(int address) {
        CConnectEngine connect(bench.context);
        connect.DropDevice();
        connect.ConnectTo(address);
    }
    std::string OnTheLine() { return " on " + bench.line.SlavePath() + ", 38400 bit/s"; }

    CScriptedUi ui;
    CWorkflowTestBench bench;
};

}  // namespace

TEST_F(ConnectionTextTest, NamesTagAddressPortAndBitRateOnlyWhileConnected) {
    bench.Add(3, "FT-101");
    bench.Start();
    EXPECT_EQ(app::ConnectedText(bench.context), "");
    ConnectTo(3);
    EXPECT_EQ(app::ConnectedText(bench.context), "Connected to FT-101 at address 3" + OnTheLine());
    EXPECT_EQ(app::AddressMovedText(bench.context, 2),
              "Moved FT-101 from address 2 to address 3" + OnTheLine());
    CConnectEngine(bench.context).Disconnect();
    EXPECT_EQ(app::ConnectedText(bench.context), "");
    EXPECT_EQ(app::AddressMovedText(bench.context, 2), "");
}

TEST_F(ConnectionTextTest, ATransmitterWithoutATagIsStillNamed) {
    bench.Add(7, "        ");
    bench.Start();
    ConnectTo(7);
    EXPECT_EQ(app::ConnectedText(bench.context),
              "Connected to a transmitter without a tag at address 7" + OnTheLine());
}
