#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/CMVDoc.h"
#include "app/FileBytes.h"
#include "flow/CLiquidFlow.h"
#include "link/ErrorReport.h"
#include "platform/CArchiveException.h"
#include "platform/CException.h"
#include "platform/CFileException.h"
#include "resources/Strings.h"
#include "tests/app/ConfigTestSupport.h"
#include "tests/support/CFailingFileSystem.h"
#include "tests/support/CScriptedUi.h"

using configtest::Bytes;
using configtest::CTempFolder;

namespace {

const std::string kOpenError = "File open error: this file cannot be used";
const std::string kSaveError = "File save error: please delete any file created";

// Runs a failing document operation the way a front end does: the document's
// own message, then the report of the failure passed on.
void RunAndReport(const std::function<void()>& operation) {
    try {
        operation();
        ADD_FAILURE() << "the operation did not fail";
    } catch (const std::exception& e) {
        ReportException(e);
    }
}

}  // namespace

TEST(CMVDoc, StartsAsANewDocument) {
    CMVDoc doc;
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.LinkAvailable());
    EXPECT_EQ(doc.PollingAddress(), -1);
    EXPECT_EQ(doc.Title(), "Untitled");
    EXPECT_EQ(doc.Transmitter().Assignment(), (std::array<int, 4>{32, 0, 1, 2}));
    ASSERT_NE(doc.Transmitter().Flow(), nullptr);
    EXPECT_EQ(doc.Transmitter().Flow()->FluidName(), "NITROGEN");
}

TEST(CMVDoc, NewResetsEverythingButTheFormatVersion) {
    CMVDoc doc;
    configtest::MakeRichModel(doc, true, "WATER");
    doc.Transmitter().SetFormatVersion(0);
    doc.SetPathName("/somewhere/TAG.CMM", false);
    doc.SetModified();
    doc.SetPollingAddress(7);
    doc.SetLinkAvailable(true);

    doc.New();
    const CTransmitter& t = doc.Transmitter();
    EXPECT_EQ(t.FormatVersion(), 0);
    EXPECT_EQ(t.CommunicationWords(), (std::array<uint16_t, 5>{0, 0, 50, 0, 0}));
    EXPECT_EQ(t.DeviceInfo().Tag(), "");
    EXPECT_EQ(t.Dp().Units(), CUnit(240, 0));
    EXPECT_EQ(t.LcdDisplay().Mask(), 15);
    // The liquid configuration is at the defaults of a liquid.
    ASSERT_NE(t.Flow(), nullptr);
    EXPECT_TRUE(t.Flow()->IsLiquid());
    EXPECT_EQ(t.Flow()->FluidName(), "WATER");
    EXPECT_EQ(t.Flow()->Density()->PointCount(), 0);
    EXPECT_EQ(t.Flow()->Density()->Valid(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Title(), "Untitled");
    // The connection is not part of the configuration.
    EXPECT_EQ(doc.PollingAddress(), 7);
    EXPECT_TRUE(doc.LinkAvailable());
}

TEST(CMVDoc, SaveAndOpenNameTheDocumentAndClearModified) {
    CTempFolder folder;
    const std::string path = folder.File("station 12.cmm");
    CMVDoc doc;
    configtest::MakeRichModel(doc, false, "PROPANE");
    doc.SetModified();
    doc.Save(path);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.PathName(), path);
    EXPECT_EQ(doc.Title(), "station 12.cmm");
    EXPECT_EQ(app::ReadFileBytes(path), doc.Store());

    CMVDoc other;
    other.SetModified();
    other.Open(path);
    EXPECT_FALSE(other.IsModified());
    EXPECT_EQ(other.Title(), "station 12.cmm");
    EXPECT_EQ(other.Transmitter().Flow()->FluidName(), "PROPANE");
    EXPECT_EQ(other.Store(), doc.Store());

    // Any extension is a configuration file.
    const std::string renamed = folder.File("backup.txt");
    std::filesystem::copy_file(path, renamed);
    other.Open(renamed);
    EXPECT_EQ(other.Title(), "backup.txt");
}

TEST(CMVDoc, FailedOpenLeavesANewUnmodifiedDocument) {
    CTempFolder folder;
    const std::string path = folder.File("cut.cmm");
    CMVDoc source;
    configtest::MakeRichModel(source, true, "WATER");
    Bytes cut = source.Store();
    cut.resize(cut.size() / 2);
    app::WriteFileAtomically(path, cut);

    CScriptedUi ui;
    CMVDoc doc;
    const std::string good = folder.File("good.cmm");
    source.Save(good);
    doc.Open(good);
    doc.SetModified();
    ui.Expect(kOpenError).ExpectWithIcon(LoadString(306), MsgIcon::Stop);
    RunAndReport([&] { doc.Open(path); });
    ui.Verify();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Title(), "Untitled");
    EXPECT_TRUE(doc.PathName().empty());
    EXPECT_EQ(doc.Transmitter().DeviceInfo().Tag(), "");
    // The load stopped inside the flow record; the document is as after New on
    // the liquid configuration it held.
    ASSERT_TRUE(doc.Transmitter().HasFlow());
    EXPECT_TRUE(doc.Transmitter().Flow()->IsLiquid());
    EXPECT_EQ(doc.Transmitter().Flow()->FluidName(), "WATER");
    CMVDoc fresh;
    fresh.Transmitter().SetFlow(std::make_unique<CLiquidFlow>());
    fresh.New();
    EXPECT_EQ(doc.Store(), fresh.Store());
    // Nothing can be saved over the file opened before without a name.
    EXPECT_TRUE(doc.ReplacesAnotherFile(good));
}

TEST(CMVDoc, FileThatCannotBeReadLeavesTheDocumentAsItWas) {
    CTempFolder folder;
    const std::string good = folder.File("good.cmm");
    CMVDoc source;
    configtest::MakeRichModel(source, false, "ARGON");
    source.Save(good);

    CScriptedUi ui;
    CMVDoc doc;
    doc.Open(good);
    doc.Transmitter().DeviceInfo().SetDescriptor("EDITED");
    doc.SetModified();
    const Bytes before = doc.Store();
    ui.Expect(kOpenError).Expect(LoadString(313));
    RunAndReport([&] { doc.Open(folder.File("missing.cmm")); });
    ui.Expect(kOpenError).Expect(LoadString(316));
    RunAndReport([&] { doc.Open(folder.Path().string()); });
    ui.Verify();
    EXPECT_EQ(doc.Store(), before);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.PathName(), good);
    EXPECT_FALSE(doc.ReplacesAnotherFile(good));
}

TEST(CMVDoc, NewKeepsTheKindOfFlowConfigurationOrNone) {
    CMVDoc doc;
    configtest::MakeRichModel(doc, true, "BRINE");
    doc.New();
    ASSERT_TRUE(doc.Transmitter().HasFlow());
    EXPECT_TRUE(doc.Transmitter().Flow()->IsLiquid());
    EXPECT_EQ(doc.Transmitter().Flow()->FluidName(), "WATER");

    // Without a flow configuration the next save says so: flow present 0,
    // variable code 239, kind 0, and nothing after.
    doc.Transmitter().RemoveFlow();
    doc.New();
    EXPECT_FALSE(doc.Transmitter().HasFlow());
    const Bytes file = doc.Store();
    ASSERT_GE(file.size(), 6u);
    EXPECT_EQ(Bytes(file.end() - 6, file.end()), Bytes({0, 0, 239, 0, 0, 0}));
}

TEST(CMVDoc, OnlyTheFileTheDocumentCameFromIsReplacedWithoutAsking) {
    CTempFolder folder;
    const std::string first = folder.File("FT.CMM");
    const std::string second = folder.File("other.cmm");
    CMVDoc doc;
    EXPECT_FALSE(doc.ReplacesAnotherFile(first));  // nothing there yet
    doc.Save(first);
    EXPECT_FALSE(doc.ReplacesAnotherFile(first));
    // The same file by another spelling of its path.
    EXPECT_FALSE(doc.ReplacesAnotherFile(folder.Path().string() + "/./FT.CMM"));
    doc.Save(second);
    EXPECT_TRUE(doc.ReplacesAnotherFile(first));
    doc.Open(first);
    EXPECT_FALSE(doc.ReplacesAnotherFile(first));
    EXPECT_TRUE(doc.ReplacesAnotherFile(second));

    // Named without a file (as a received configuration is): every existing
    // file is another one, the file it was opened from too.
    doc.SetPathName(first, false);
    EXPECT_TRUE(doc.ReplacesAnotherFile(first));
    doc.Open(first);
    doc.New();
    EXPECT_TRUE(doc.ReplacesAnotherFile(first));
}

TEST(CMVDoc, OpenFailuresReportTheirCause) {
    CTempFolder folder;
    CScriptedUi ui;
    CMVDoc doc;
    ui.Expect(kOpenError).Expect(LoadString(313));
    RunAndReport([&] { doc.Open(folder.File("missing.cmm")); });
    ui.Expect(kOpenError).Expect(LoadString(316));
    RunAndReport([&] { doc.Open(folder.Path().string()); });
    // An empty file ends before its first word.
    app::WriteFileAtomically(folder.File("empty.cmm"), {});
    ui.Expect(kOpenError).Expect(LoadString(306));
    RunAndReport([&] { doc.Open(folder.File("empty.cmm")); });
}

TEST(CMVDoc, SaveThatFailsLateKeepsThePreviousFile) {
    CTempFolder folder;
    const std::string path = folder.File("plant.cmm");
    CMVDoc doc;
    configtest::MakeRichModel(doc, false, "ARGON");
    doc.Save(path);
    const Bytes before = app::ReadFileBytes(path);

    // A code the file's 16 bits cannot hold, near the end of the record.
    doc.Transmitter().Flow()->SetDiffProducer(70000);
    doc.SetModified();
    CScriptedUi ui;
    ui.Expect(kSaveError).ExpectWithIcon(LoadString(304), MsgIcon::Stop);
    RunAndReport([&] { doc.Save(path); });
    ui.Verify();
    EXPECT_EQ(app::ReadFileBytes(path), before);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);

    // A fit whose point count the file cannot hold.
    doc.Transmitter().Flow()->SetDiffProducer(1);
    doc.Transmitter().Flow()->GetGasExpansion()->Resize(70000);
    ui.Expect(kSaveError).Expect(LoadString(304));
    RunAndReport([&] { doc.Save(path); });
    EXPECT_EQ(app::ReadFileBytes(path), before);
}

TEST(CMVDoc, SaveToAnUnusablePathReportsItsCause) {
    CTempFolder folder;
    CScriptedUi ui;
    CMVDoc doc;
    doc.SetModified();
    ui.Expect(kSaveError).Expect(LoadString(316));
    RunAndReport([&] { doc.Save(folder.Path().string()); });
    const std::string file = folder.File("plain");
    doc.Save(file);
    ui.Expect(kSaveError).Expect(LoadString(314));
    RunAndReport([&] { doc.Save(file + "/below.cmm"); });
    ui.Expect(kSaveError).Expect(LoadString(313));
    RunAndReport([&] { doc.Save(folder.File("no/such/folder.cmm")); });
    EXPECT_EQ(doc.PathName(), file);
}

// A read-only folder refuses the temporary file (access denied); a full disk
// fails the write, a failing device the flush, and a refused rename the last
// step. Each save reports its cause and keeps the previous file as it was.
TEST(CMVDoc, SaveIntoAReadOnlyFolderKeepsThePreviousFile) {
    using Call = CFailingFileSystem::Call;
    const struct {
        Call call;
        int error;
        unsigned text;
    } failures[] = {{Call::MakeTemporary, EACCES, 316},
                    {Call::Write, ENOSPC, 324},
                    {Call::Sync, EIO, 321},
                    {Call::Rename, EROFS, 316}};
    CTempFolder folder;
    const std::string path = folder.File("locked.cmm");
    CMVDoc doc;
    doc.Save(path);
    const Bytes before = app::ReadFileBytes(path);
    doc.Transmitter().DeviceInfo().SetTag("CHANGED");
    for (const auto& failure : failures) {
        CFailingFileSystem files;
        files.Fail(failure.call, failure.error);
        CScriptedUi ui;
        ui.Expect(kSaveError).Expect(LoadString(failure.text));
        RunAndReport([&] { doc.Save(path); });
        ui.Verify();
        EXPECT_EQ(files.Count(failure.call), 1) << CallName(failure.call);
        EXPECT_EQ(app::ReadFileBytes(path), before) << CallName(failure.call);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                                std::filesystem::directory_iterator()),
                  1)
            << CallName(failure.call) << ": a temporary file was left behind";
    }
}
