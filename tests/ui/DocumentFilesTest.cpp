#include <gtest/gtest.h>

#include "tests/ui/QStringPrinter.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "app/CConnectEngine.h"
#include "app/CMVDoc.h"
#include "app/CommandTable.h"
#include "app/FileBytes.h"
#include "app/ui/CDocumentAdapter.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CRecentFileList.h"
#include "dialogs/CReceiveDlg.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/WorkflowDialogBench.h"
#include "transmitter/CTransmitter.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kOpenError = "File open error: this file cannot be used";

std::string ReplaceQuestion(const std::string& path) {
    return path +
           " already exists and holds another configuration.\n"
           "Do you want to replace it, or save this configuration under another name?";
}

// Makes a folder the current one for the lifetime of the object (a received
// configuration is named after the tag, in the current folder).
class CCurrentFolder {
  public:
    explicit CCurrentFolder(const QString& path) : m_previous(QDir::currentPath()) {
        QDir::setCurrent(path);
    }
    ~CCurrentFolder() { QDir::setCurrent(m_previous); }

  private:
    QString m_previous;
};

// The main window on the real configuration document, with the file dialog
// answered by the test: every proposal is recorded and `chosenName` (none:
// Cancel) is the answer.
class DocumentFilesTest : public testing::Test {
  protected:
    DocumentFilesTest() {
        frame.View().SetFileDialogProvider(
            [this](CMVView::FileDialog, const std::string& proposed) -> std::optional<std::string> {
                proposals.push_back(proposed);
                return chosenName;
            });
    }

    std::string File(const char* name) const { return dir.filePath(name).toStdString(); }
    CTransmitter& Model() { return document.Workflow()->Model(); }

    // A configuration file whose tag says where it came from.
    std::string WriteConfiguration(const char* name, const std::string& tag) {
        CMVDoc source;
        source.Transmitter().DeviceInfo().SetTag(tag);
        source.Save(File(name));
        return File(name);
    }

    QTemporaryDir dir;
    CScriptedUi ui;
    CWorkflowDialogBench bench;
    CDocumentAdapter document{bench.settings};
    CMainFrame frame{document, bench.settings};
    std::vector<std::string> proposals;
    std::optional<std::string> chosenName;
};

// Presses "&Close" of the receive window once the receive has completed.
void CloseReceiveWindowWhenDone(int attemptsLeft = 1000) {
    QTimer::singleShot(10, [attemptsLeft] {
        auto* receive = qobject_cast<CReceiveDlg*>(QApplication::activeModalWidget());
        if (receive != nullptr && receive->Receive().Result() == WorkflowResult::Done) {
            receive->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        } else if (attemptsLeft > 0) {
            CloseReceiveWindowWhenDone(attemptsLeft - 1);
        }
    });
}

}  // namespace

TEST_F(DocumentFilesTest, DamagedFileLeavesTheDocumentUntitledSoSaveAsksForAName) {
    const std::string previous = WriteConfiguration("A.cmm", "PLANT-A");
    const Bytes kept = app::ReadFileBytes(previous);
    const std::string damaged = File("B.cmm");
    app::WriteFileAtomically(damaged, Bytes(kept.begin(), kept.begin() + kept.size() / 2));

    ASSERT_TRUE(frame.View().OpenDocumentFile(previous));
    EXPECT_EQ(frame.View().DocumentName(), "A.cmm");
    ui.Expect(kOpenError).ExpectWithIcon(LoadString(306), MsgIcon::Stop);
    EXPECT_FALSE(frame.View().OpenDocumentFile(damaged));
    ui.Verify();
    EXPECT_EQ(frame.View().DocumentName(), "Untitled");
    EXPECT_TRUE(frame.View().PathName().empty());
    EXPECT_FALSE(frame.windowTitle().contains(QStringLiteral("A.cmm")));
    EXPECT_EQ(Model().DeviceInfo().Tag(), "");

    // Ctrl+S asks for a name; cancelling it writes nothing anywhere.
    frame.View().OnCommand(cmd::kFileSave);
    EXPECT_EQ(proposals, (std::vector<std::string>{"Untitled.cmm"}));
    EXPECT_EQ(app::ReadFileBytes(previous), kept);
}

TEST_F(DocumentFilesTest, MissingFileKeepsTheDocumentItsNameAndItsChanges) {
    const std::string previous = WriteConfiguration("A.cmm", "PLANT-A");
    ASSERT_TRUE(frame.View().OpenDocumentFile(previous));
    Model().DeviceInfo().SetDescriptor("EDITED");
    document.SetModified(true);

    ui.Expect("Save changes to A.cmm?", MsgAnswer::No);
    ui.Expect(kOpenError).ExpectWithIcon(LoadString(313), MsgIcon::Stop);
    EXPECT_FALSE(frame.View().OpenDocumentFile(File("gone.cmm")));
    ui.Verify();
    EXPECT_EQ(frame.View().DocumentName(), "A.cmm");
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(Model().DeviceInfo().Tag(), "PLANT-A");
    EXPECT_EQ(Model().DeviceInfo().Descriptor(), "EDITED");
}

TEST_F(DocumentFilesTest, FailedReceiveLeavesAnUntitledModifiedDocument) {
    bench.Add(1, "FT-1");
    bench.Start();
    const std::string previous = WriteConfiguration("A.cmm", "PLANT-A");
    const Bytes kept = app::ReadFileBytes(previous);
    ASSERT_TRUE(frame.View().OpenDocumentFile(previous));
    CConnectEngine(*document.Workflow()).ConnectTo(1);

    // SP damping (holding registers 446 and 447) is refused with "illegal value".
    bench.line.SetExceptionRange(446, 447, 3);
    ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kIllegalValue)), MsgIcon::Stop);
    ui.Expect(LoadString(395));
    frame.View().OnCommand(cmd::kRecvConfig);
    ui.Verify();
    EXPECT_EQ(frame.View().DocumentName(), "Untitled");
    EXPECT_TRUE(document.IsModified());

    // Leaving asks to save the half-received document, under a new name.
    ui.Expect("Save changes to Untitled?", MsgAnswer::Yes);
    EXPECT_FALSE(frame.View().SaveModified());
    EXPECT_EQ(proposals, (std::vector<std::string>{"Untitled.cmm"}));
    EXPECT_EQ(app::ReadFileBytes(previous), kept);
}

TEST_F(DocumentFilesTest, SaveAfterASecondReceiveOfTheSameTagAsksBeforeReplacing) {
    SimTransmitterOptions first = CWorkflowDialogBench::Options("FT-1");
    first.descriptor = "FIRST";
    SimTransmitterOptions second = CWorkflowDialogBench::Options("FT-1");
    second.descriptor = "SECOND";
    bench.Add(1, first);
    bench.Add(2, second);
    bench.Start();
    CCurrentFolder current(dir.path());
    const std::string file = QDir::current().absoluteFilePath("FT-1.CMM").toStdString();

    CConnectEngine(*document.Workflow()).ConnectTo(1);
    CloseReceiveWindowWhenDone();
    frame.View().OnCommand(cmd::kRecvConfig);
    EXPECT_EQ(frame.View().DocumentName(), "FT-1.CMM");
    // Nothing is there yet: the first save asks nothing.
    frame.View().OnCommand(cmd::kFileSave);
    ui.Verify();
    EXPECT_TRUE(proposals.empty());
    const Bytes firstFile = app::ReadFileBytes(file);
    EXPECT_EQ(frame.View().PathName(), file);
    EXPECT_EQ(bench.settings.GetString("Recent File List", "File1", ""), file);

    CConnectEngine connect(*document.Workflow());
    connect.DropDevice();
    connect.ConnectTo(2);
    CloseReceiveWindowWhenDone();
    frame.View().OnCommand(cmd::kRecvConfig);
    ASSERT_EQ(Model().DeviceInfo().Descriptor().substr(0, 6), "SECOND");

    // "Save As..." asks for another name; cancelling that keeps the first file.
    ui.ExpectWithIcon(ReplaceQuestion(file), MsgIcon::Exclamation, MsgAnswer::No);
    frame.View().OnCommand(cmd::kFileSave);
    ui.Verify();
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_EQ(ui.Messages().back().buttons, MsgButtons::ReplaceSaveAsCancel);
    EXPECT_EQ(proposals, (std::vector<std::string>{"FT-1.CMM"}));
    EXPECT_EQ(app::ReadFileBytes(file), firstFile);
    // Cancel writes nothing either; the save question at exit then stays open.
    ui.Expect(ReplaceQuestion(file), MsgAnswer::Cancel);
    frame.View().OnCommand(cmd::kFileSave);
    ui.Expect("Save changes to FT-1.CMM?", MsgAnswer::Yes);
    ui.Expect(ReplaceQuestion(file), MsgAnswer::Cancel);
    EXPECT_FALSE(frame.View().SaveModified());
    ui.Verify();
    EXPECT_EQ(app::ReadFileBytes(file), firstFile);
    EXPECT_EQ(proposals.size(), 1u);

    // "Replace" writes it; from then on it is the document's own file.
    ui.Expect(ReplaceQuestion(file), MsgAnswer::Yes);
    frame.View().OnCommand(cmd::kFileSave);
    ui.Verify();
    CMVDoc reread;
    reread.Open(file);
    EXPECT_EQ(reread.Transmitter().DeviceInfo().Descriptor().substr(0, 6), "SECOND");
    document.SetModified(true);
    frame.View().OnCommand(cmd::kFileSave);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(proposals.size(), 1u);
}

TEST(RecentFileList, StoresAbsolutePaths) {
    QTemporaryDir dir;
    CCurrentFolder current(dir.path());
    CMemorySettingsStore settings;
    CRecentFileList list(settings, 4);
    list.Add("CORVEL.CMM");
    list.Add("sub/../other.cmm");
    const std::string folder = QDir::currentPath().toStdString();
    EXPECT_EQ(settings.GetString("Recent File List", "File1", ""), folder + "/other.cmm");
    EXPECT_EQ(settings.GetString("Recent File List", "File2", ""), folder + "/CORVEL.CMM");
    // The same file named again, relatively or not, is moved to the front.
    list.Add(folder + "/CORVEL.CMM");
    EXPECT_EQ(list.Files(),
              (std::vector<std::string>{folder + "/CORVEL.CMM", folder + "/other.cmm"}));
    list.Remove("other.cmm");
    EXPECT_EQ(list.Files(), (std::vector<std::string>{folder + "/CORVEL.CMM"}));
}
