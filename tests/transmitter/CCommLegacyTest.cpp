#include <gtest/gtest.h>

#include "link/CCommException.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CAnalogOutput.h"
#include "transmitter/CComm.h"
#include "transmitter/CFlowTransport.h"
#include "transmitter/CTransmitter.h"
#include "transmitter/UnitsTranslation.h"

using namespace transmitter;

namespace {

int CommErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CCommException& e) {
        return e.Error();
    }
    return -1;
}

// A legacy transport that answers with a fixed result, response code and status.
CComm::LegacyTransport Answer(int32_t result, uint8_t responseCode, uint8_t status = 0) {
    return [=](int, const std::vector<uint8_t>&, std::vector<uint8_t>& reply) {
        reply[0] = responseCode;
        reply[1] = status;
        return result;
    };
}

TEST(LegacyRequests, InertTransportAnswersZerosOfTheReplySize) {
    CScriptedUi ui;
    CComm comm;
    EXPECT_EQ(comm.ReadLoopCurrent(), std::vector<uint8_t>(10, 0));
    EXPECT_EQ(comm.ReadOutputInformation(), std::vector<uint8_t>(19, 0));
    EXPECT_EQ(comm.ReadPasswordEntry(3), (std::array<uint8_t, 8>{}));
    EXPECT_EQ(comm.ReadFlowBlock(2), (std::array<uint8_t, 25>{}));
    EXPECT_NO_THROW(comm.WriteVariableAssignment({0, 1, 2, 32}));
    EXPECT_TRUE(ui.StatusDialogs().empty());
}

TEST(LegacyRequests, RequestOfTheWrongSizeIsRefused) {
    CScriptedUi ui;
    CComm comm;
    EXPECT_EQ(CommErrorOf([&] { comm.LegacyRequest(51, {0, 1, 2}); }), 12);
    EXPECT_EQ(CommErrorOf([&] { comm.LegacyRequest(2, {0}); }), 12);
}

TEST(LegacyRequests, TransportSeesTheCommandAndItsRequestBytes) {
    CScriptedUi ui;
    CComm comm;
    int command = 0;
    std::vector<uint8_t> seen;
    comm.SetLegacyTransport([&](int c, const std::vector<uint8_t>& request, std::vector<uint8_t>&) {
        command = c;
        seen = request;
        return 0;
    });
    comm.WriteVariableAssignment({32, 0, 1, 2});
    EXPECT_EQ(command, 51);
    EXPECT_EQ(seen, (std::vector<uint8_t>{32, 0, 1, 2}));
    comm.SetFixedCurrent(4.0f);
    EXPECT_EQ(command, 40);
    EXPECT_EQ(seen, (std::vector<uint8_t>{0x40, 0x80, 0x00, 0x00}));  // 4.0, high byte first
}

TEST(LegacyRequests, SubCodesAreMappedPerCommand) {
    CScriptedUi ui;
    CComm comm;
    comm.SetLegacyTransport(Answer(9, 0x02));
    EXPECT_EQ(CommErrorOf([&] { comm.WriteVariableAssignment({0, 1, 2, 32}); }), 17);
    EXPECT_EQ(CommErrorOf([&] { comm.WriteBurstMode(1); }), 37);
    comm.SetLegacyTransport(Answer(9, 0x03));
    EXPECT_EQ(CommErrorOf([&] { comm.WriteResponsePreambles(30); }), 34);
    EXPECT_EQ(CommErrorOf([&] { comm.ReadPasswordEntry(1); }), 51);
    // An unlisted sub-code raises nothing.
    EXPECT_NO_THROW(comm.WriteVariableAssignment({0, 1, 2, 32}));
}

TEST(LegacyRequests, ResponseCodesAndCommunicationFlags) {
    CScriptedUi ui;
    CComm comm;
    comm.SetLegacyTransport(Answer(1, 32));
    EXPECT_EQ(CommErrorOf([&] { comm.ReadLoopCurrent(); }), 54);
    comm.SetLegacyTransport(Answer(5, 0x08 | 0x02));
    EXPECT_EQ(CommErrorOf([&] { comm.ReadLoopCurrent(); }), 4);
}

TEST(LegacyRequests, StatusDialogListsTheSetBitsInItsOrder) {
    CScriptedUi ui;
    CComm comm;
    comm.SetLegacyTransport(Answer(0, 0, 0x40 | 0x10 | 0x80 | 0x01));
    ui.ExpectTransmitterStatus();
    comm.ReadLoopCurrent();
    ASSERT_EQ(ui.StatusDialogs().size(), 1u);
    const TransmitterStatusRequest& shown = ui.StatusDialogs()[0];
    EXPECT_EQ(shown.statusByte, 0xD1u);
    EXPECT_EQ(shown.lines,
              (std::vector<std::string>{
                  "Transmitter is malfunctioning", "Primary variable is beyond its limits",
                  "More Info Available - See \"Error Info\"", "Configuration was changed"}));
    EXPECT_TRUE(shown.errorInfoEnabled);
}

TEST(LegacyRequests, ConfigurationChangedAloneShowsNoStatus) {
    CScriptedUi ui;
    CComm comm;
    comm.SetLegacyTransport(Answer(0, 0, 0x40));
    comm.ReadLoopCurrent();
    EXPECT_TRUE(ui.StatusDialogs().empty());
}

TEST(LegacyRequests, ErrorInfoOnlyForMoreInfoBit) {
    CScriptedUi ui;
    CComm comm;
    comm.SetLegacyTransport(Answer(0, 0, 0x20));
    ui.ExpectTransmitterStatus();
    comm.ReadLoopCurrent();
    ASSERT_EQ(ui.StatusDialogs().size(), 1u);
    EXPECT_FALSE(ui.StatusDialogs()[0].errorInfoEnabled);
    EXPECT_EQ(ui.StatusDialogs()[0].lines,
              (std::vector<std::string>{"Transmitter has been reset"}));
}

TEST(LegacyRequests, IgnoreTickedSilencesTheNextFiftyRequests) {
    CScriptedUi ui;
    CComm comm;
    comm.SetLegacyTransport(Answer(0, 0, 0x01));
    TransmitterStatusAnswer ignore;
    ignore.ignoreNext50 = true;
    ui.ExpectTransmitterStatus(ignore);
    comm.ReadLoopCurrent();
    EXPECT_EQ(comm.IgnoreStatusCount(), 50);
    for (int i = 0; i < 50; ++i) comm.ReadLoopCurrent();
    EXPECT_EQ(ui.StatusDialogs().size(), 1u);
    ui.ExpectTransmitterStatus();
    comm.ReadLoopCurrent();
    EXPECT_EQ(ui.StatusDialogs().size(), 2u);
}

TEST(LegacyRequests, FailedReplyShowsNoStatus) {
    CScriptedUi ui;
    CComm comm;
    comm.SetLegacyTransport(Answer(1, 64, 0x80));
    EXPECT_EQ(CommErrorOf([&] { comm.ReadLoopCurrent(); }), 53);
    EXPECT_TRUE(ui.StatusDialogs().empty());
}

TEST(AnalogOutput, OnlineReadsGiveZerosAndWritesFollowTheFlags) {
    CScriptedUi ui;
    CTransmitter model;
    CAnalogOutput& ao = model.AnalogOutput();
    const CUnit kPa(12, kVarDp);
    ao.WriteRangeValues(CDimValue(1.0, kPa), CDimValue(9.0, kPa), CAnalogOutput::kWriteTransmitter);
    EXPECT_DOUBLE_EQ(ao.UpperRangeValue().Value(), 250.0);  // the copy is untouched
    ao.WriteRangeValues(CDimValue(1.0, kPa), CDimValue(9.0, kPa),
                        CAnalogOutput::kWriteDocument | CAnalogOutput::kWriteTransmitter);
    EXPECT_DOUBLE_EQ(ao.ReadRangeValues(kAccessDocument).upper.Value(), 9.0);
    EXPECT_DOUBLE_EQ(ao.ReadRangeValues(kAccessTransmitter).upper.Value(), 0.0);
    EXPECT_FLOAT_EQ(ao.ReadLoopCurrent().milliamps, 0.0f);
    EXPECT_EQ(ao.ReadTransferFunction(kAccessTransmitter), 0u);
}

TEST(RegisterOperations, NoDeviceSelectedIsOffline) {
    CScriptedUi ui;
    CComm comm;
    EXPECT_EQ(CommErrorOf([&] { comm.ReadTag(); }), 6);
    comm.CreateProtocol();
    EXPECT_EQ(CommErrorOf([&] { comm.ReadTag(); }), 6);
    EXPECT_EQ(CommErrorOf([&] { comm.WriteDamping(0, 1.0); }), 6);
    EXPECT_EQ(CommErrorOf([&] { comm.ReadVariableAssignment(); }), 6);
    EXPECT_EQ(comm.Protocol().ExchangeCount(), 0u);
    EXPECT_EQ(comm.CurrentTag(), "@@@@@@@@");
    EXPECT_EQ(comm.CurrentPollingAddress(), -1);
}

TEST(RegisterOperations, SelectionStateStartsEmpty) {
    CComm comm;
    EXPECT_EQ(comm.CurrentSlot(), 255);
    for (size_t slot = 0; slot < CComm::kSlotCount; ++slot)
        EXPECT_EQ(comm.PollingAddress(slot), 16);
}

TEST(RegisterOperations, PresentValueOfIndexThreeIsAnInvalidVariable) {
    CScriptedUi ui;
    CComm comm;
    comm.CreateProtocol();
    EXPECT_EQ(CommErrorOf([&] { comm.ReadPresentValue(3); }), 17);
    EXPECT_EQ(comm.Protocol().ExchangeCount(), 0u);
}

TEST(RegisterOperations, EmsArraysOutsideTheModbusMappingAreRefused) {
    CScriptedUi ui;
    CComm comm;
    EXPECT_EQ(CommErrorOf([&] { comm.ReadEmsArray({0, 1, 0, 4}); }), 45);
    EXPECT_EQ(CommErrorOf([&] { comm.WriteEmsArray({0, 1, 0, 4}, {1, 2, 3, 4}); }), 45);
    EXPECT_EQ(CommErrorOf([&] { comm.ReadEmsArray({0, 255, 0, 0}); }), 45);
    EXPECT_NO_THROW(comm.WriteEmsArray({0, 255, 0, 0}, {}));
}

TEST(UnitsTranslation, DeviceCodesBothWays) {
    struct Row {
        int variable, device, program;
    };
    for (const Row& r : {Row{kVarDp, 1, 240}, Row{kVarDp, 2, 11}, Row{kVarDp, 3, 12},
                         Row{kVarDp, 6, 1}, Row{kVarSp, 3, 12}, Row{kVarSp, 4, 237},
                         Row{kVarSp, 5, 6}, Row{kVarPt, 20, 32}, Row{kVarPt, 21, 33}}) {
        EXPECT_EQ(DeviceToProgramUnits(r.variable, r.device), r.program);
        EXPECT_EQ(ProgramToDeviceUnits(r.variable, r.program), r.device);
    }
    // Unknown device codes pass unchanged; unknown program codes map to the default.
    EXPECT_EQ(DeviceToProgramUnits(kVarDp, 4), 4);
    EXPECT_EQ(ProgramToDeviceUnits(kVarDp, 4), 1);
    EXPECT_EQ(ProgramToDeviceUnits(kVarSp, 1), 5);
    EXPECT_EQ(ProgramToDeviceUnits(kVarPt, 34), 21);
}

}  // namespace

namespace {

TEST(FlowTransport, BlocksTravelAsLegacyRequests) {
    CScriptedUi ui;
    CComm comm;
    std::vector<std::pair<int, std::vector<uint8_t>>> requests;
    comm.SetLegacyTransport(
        [&](int command, const std::vector<uint8_t>& request, std::vector<uint8_t>& reply) {
            requests.emplace_back(command, request);
            if (command == 166)
                for (size_t i = 2; i < reply.size(); ++i) reply[i] = static_cast<uint8_t>(i);
            return 0;
        });
    CFlowTransport transport(comm);
    IFlowTransport::Block block{};
    block[0] = 1;
    block[23] = 0xAB;
    transport.WriteFlowBlock(block);
    const IFlowTransport::Block read = transport.ReadFlowBlock(7);

    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].first, 165);
    ASSERT_EQ(requests[0].second.size(), 25u);
    EXPECT_EQ(requests[0].second[0], 1);
    EXPECT_EQ(requests[0].second[23], 0xAB);
    EXPECT_EQ(requests[0].second[24], 0);
    EXPECT_EQ(requests[1], (std::pair<int, std::vector<uint8_t>>{166, {7}}));
    EXPECT_EQ(read[0], 2);  // the block follows response code and status
    EXPECT_EQ(read[23], 25);
}

TEST(FlowTransport, NoFlowApplicationIsReported) {
    CComm comm;
    CFlowTransport transport(comm);
    const std::vector<uint8_t> reply = transport.ReadFlowApplication();
    ASSERT_GT(reply.size(), 10u);
    EXPECT_NE(reply[8], 1);
    EXPECT_NE(reply[10], 1);
}

}  // namespace
