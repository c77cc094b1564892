// TForm1: the assistant window. Its layout is built in code (MainFormLayout.cpp), its
// creation handler fills in the product configuration, the texts of the system's language
// and the installer target (MainForm.cpp), its four handlers carry out the three steps
// (MainFormActions.cpp), and the download's progress, Cancel and the close question are in
// MainFormProgress.cpp.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "assistant/core/DownloadProgress.h"
#include "assistant/core/FailureMessage.h"
#include "assistant/core/Language.h"
#include "assistant/win32/InstallerTrust.h"
#include "assistant/win32/TaskbarProgress.h"
#include "download/core/ProgressThrottle.h"
#include "download/win32/HTTPGet.h"
#include "flatctl/win32/FlatEdit.h"
#include "flatctl/win32/FlatPanel.h"
#include "flatctl/win32/FlatProgressBar.h"
#include "framework/win32/Form.h"
#include "framework/win32/StdCtrls.h"
#include "marquee/win32/BusyMarquee.h"
#include "richlabel/win32/RichLabel.h"

// The language of the system right now (evaluated afresh on every call).
TLanguage SystemLanguage();

class TForm1 : public TForm {
  public:
    explicit TForm1(TComponent* owner);

    TRichLabel* RichLabel2 = nullptr;
    TFlatPanel* FlatPanel1 = nullptr;
    TRichLabel* RichLabel1 = nullptr;
    TRichLabel* RichLabel5 = nullptr;
    TRichLabel* RichLabel3 = nullptr;
    TRichLabel* RichLabel4 = nullptr;
    TLabel* Label1 = nullptr;
    TFlatEdit* FlatEdit1 = nullptr;
    TButton* Button1 = nullptr;
    TRichLabel* RichLabel6 = nullptr;
    THTTPGet* HTTPGetUpdate = nullptr;
    TFlatPanel* FlatPanel2 = nullptr;
    TBusyMarquee* BusyMarqueeUserSynchronization = nullptr;
    // The download's progress on the busy panel, and its Cancel button (MainFormProgress.cpp).
    TFlatProgressBar* ProgressBar = nullptr;
    TLabel* ProgressLabel = nullptr;
    TButton* CancelButton = nullptr;
    // The taskbar button's progress: the shell's once the button exists, or a stand-in.
    std::unique_ptr<TTaskbarProgress> Taskbar;

    std::u16string RegLink;
    std::u16string ProdName;
    std::u16string SignupCode;
    std::u16string ClientRegKey;
    std::u16string ClientRegValue;
    // The common name the installer's signer must bear; empty starts it unchecked.
    std::u16string InstallerPublisher;

    // The user's temporary folder, ending with "\" (or "C:\").
    std::u16string GetTempDir() const;

    void FormCreate(TObject* Sender);
    void RichLabel3Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void HTTPGetUpdateDoneFile(TObject* Sender, const std::string& FileName, std::int32_t FileSize);
    void HTTPGetUpdateError(TObject* Sender);
    void HTTPGetUpdateProgress(TObject* Sender, std::int32_t TotalSize, std::int32_t Readed);
    // Stops the running download and goes back to the steps (the Cancel button, Escape).
    void CancelButtonClick(TObject* Sender);

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void CreateLayout();
    void CreateSteps();
    void CreateHeader();
    void CreateInputs();
    void CreateBusyPanel();
    void CreateDownload();
    void ApplyTexts(TLanguage language);
    void DeletePreviousInstaller();
    void StoreCustomerNumber();
    // Starts the downloaded installer with the shell; false when it could not be started.
    bool StartInstaller(const std::u16string& path);
    // Starts the finished installer, held against change by `held`, or reports why not; a
    // file refused for its signature is let go and deleted.
    void StartOrReport(std::int32_t FileSize, FileHandle& held);
    // Whether the finished installer may be started; a file refused for its signature is let
    // go and deleted (MainFormTrust.cpp).
    TInstallerVerdict CheckInstaller(FileHandle& held);
    void ShowFailure(TFailureKind kind);
    void ShowUntrustedInstaller();
    // The failure box with `text`; the taskbar button shows the error state meanwhile.
    void ShowFailureBox(const std::u16string& text);

    // A download try as the busy panel shows it (MainFormProgress.cpp).
    void CreateProgress();
    // Shows the progress of a new try; false when a try is running already.
    bool BeginProgress();
    // Hides the busy panel and gives the focus back to the download button.
    void EndProgress();
    // The try failed: the taskbar button says so while the message shows.
    void TaskbarShowsFailure(bool failed);
    // After the wait for a try: true when the user cancelled it; the partial file is gone,
    // and after a confirmed close request the program is asked to end.
    bool EndCancelledTry();
    // A close request during a download: asks, and cancels and closes on Yes.
    void AskToCancelAndClose();
    void ShowProgress(std::int64_t total, std::int64_t received);
    // While the close question shows, the outcome of a transfer that ends meanwhile waits
    // for the answer: true when `outcome` was kept for later.
    bool DeferWhileAsking(std::function<void()> outcome);

    struct TTry {
        bool Running = false;
        bool Cancelled = false;
        bool CloseConfirmed = false;
        bool Asking = false;
        TTransferRate Rate;
        TProgressThrottle Announce{1000}; // value changes for assistive technology
        TLanguage Language = TLanguage::English;
        TNumberFormat Format;
        std::function<void()> DeferredOutcome;
    } FTry;
};
