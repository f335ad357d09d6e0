// The settings dialogs' logic: the transfer runs on its worker while the passphrase question
// is asked on the user-interface thread through the user-interface back end.
#include "tests/config/transfer/SettingsTransferTestSupport.h"

#include <DavaraZE/YMessageBox.h>
#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/ConfigPassphraseDialogs.h>
#include <RivodeRavudaVU/ImportExportSettingsDialogs.h>
#include <RivodeRavudaVU/RivodeMessages.h>

#include <thread>

namespace rivode::test {
namespace {

// Answers "Passphrases Do Not Match" with a passphrase, noting the thread it was asked on.
class PassphraseAnswers final : public YUserInterface {
public:
    int ShowMessageBox(const YMessageBoxRequest& request) override {
        messages.push_back(ToUtf8(request.text));
        return YID_OK;
    }
    int RunProgress(YProgressDialog&) override { return 0; }
    int RunDialog(YDialog& dialog) override {
        auto* question = dynamic_cast<ImportSettingsPassphraseDialogBase*>(&dialog);
        if (question == nullptr) {
            return YID_CANCEL;
        }
        askedOn = std::this_thread::get_id();
        question->importSensitiveData = true;
        question->passphrase = answer;
        YReportMessageParams report;
        return question->Validate(report) ? YID_OK : YID_CANCEL;
    }
    YUnicodeString answer;
    std::thread::id askedOn;
    std::vector<std::string> messages;
};

class SettingsTransferDialogTest : public SettingsTransferTest {
protected:
    SettingsTransferDialogTest() { YSetUserInterface(answers_); }
    ~SettingsTransferDialogTest() override { YSetUserInterface(nullptr); }

    std::shared_ptr<PassphraseAnswers> answers_ = std::make_shared<PassphraseAnswers>();
};

TEST_F(SettingsTransferDialogTest, QuestionIsAskedOnTheCallingThreadWhileTheWorkerWaits) {
    EstablishPassphrase(u"alpha");
    FillConfiguration(u"alpha", 4);
    SettingsTransferDialogBase exporting(false, Request(), 3, nullptr);
    ASSERT_TRUE(exporting.RunTransfer());
    EXPECT_TRUE(exporting.IsFinished());

    UseConfiguration("B");
    EstablishPassphrase(u"beta");
    answers_->answer = u"alpha";
    RecordingSink host;
    SettingsTransferDialogBase importing(true, Request(), 3, &host);
    ASSERT_TRUE(importing.RunTransfer());
    EXPECT_EQ(answers_->askedOn, std::this_thread::get_id());

    const std::vector<YUnicodeString> lines = importing.TakeNewLines();
    ASSERT_EQ(lines.size(), host.lines.size());
    EXPECT_TRUE(lines.front().starts_with(u"info: "));
    EXPECT_TRUE(importing.TakeNewLines().empty());
    YEncryptedString stored;
    stored.SetEncryptedText(StoredPassword(2));
    YUnicodeString plaintext;
    EXPECT_TRUE(stored.GetPlaintext(plaintext, u"beta"));
}

TEST_F(SettingsTransferDialogTest, FolderIsRefusedAndTheDialogStays) {
    ImportExportSettingsDialogBase dialog(false, SettingsSelection(false, true), Request(),
                                          nullptr);
    dialog.path = FromUtf8(temp_.Path());
    ASSERT_TRUE(dialog.IsOkEnabled());
    dialog.OnOK();
    EXPECT_FALSE(dialog.IsEnded());
    ASSERT_EQ(answers_->messages.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(temp_ / "out/settings.log"));
}

}  // namespace
}  // namespace rivode::test
