#pragma once
// The unpacker's dialog: a worker thread does all the work while holding the
// dialog's lock for its whole run, and tells the dialog what to show only by
// messages it posts (it never waits for the dialog). OK and Cancel are refused
// until the worker has finished. How the dialog looks is the view's business.

#include "utility/source/QelPakFile.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// One message from the worker to the dialog.
struct SKestrupMessage
{
    enum EKind
    {
        LOG,               // append m_text to the log box
        PROGRESS_RANGE,    // the progress bar runs from 0 to m_value
        PROGRESS_POSITION, // the progress bar stands at m_value
        PICTURE,           // progress picture m_value (0 to 9) is shown
        FATAL_BOX,         // a message box m_text captioned m_caption, with the error icon
        ENABLE_OK,
        COMMAND_OK,        // the worker presses OK
    };

    EKind m_kind = LOG;
    std::string m_text;
    std::string m_caption;
    uint32_t m_value = 0;
};

// How the dialog is shown; called on the dialog's thread only.
class IKestrupView
{
public:
    virtual ~IKestrupView() = default;
    virtual void Show(const SKestrupMessage& message) = 0;
    // Said when the user asked to cancel while the work cannot stop.
    virtual void ShowCancelRefused() = 0;
    // Called about ten times a second while the dialog runs.
    virtual void Tick() {}
};

struct SKestrupOptions
{
    std::string m_folder = ".";                       // the game's program folder
    std::string m_pakName = "TessavarSprites.pak";
    std::string m_outputName = "tessavar.001";
    std::string m_oldPatchName = "Tessavar.002";
    int m_threadCount = 0;                            // converting threads; 0 picks the machine's count
};

class CKestrupDlg
{
public:
    CKestrupDlg(IKestrupView& view, const SKestrupOptions& options);
    ~CKestrupDlg();
    CKestrupDlg(const CKestrupDlg&) = delete;
    CKestrupDlg& operator=(const CKestrupDlg&) = delete;

    // Starts the worker.
    bool OnInitDialog();
    // True when the dialog closes; refused while the worker runs.
    bool OnOK();
    bool OnCancel();

    // Shows the worker's messages until the dialog closes; 0 when the work
    // succeeded, 1 otherwise. cancelRequested is polled (and cleared) as the
    // user's Cancel button.
    int RunModal(std::atomic<bool>* cancelRequested);

    bool IsFinished() const { return m_finished.load(); }
    bool Succeeded() const { return m_succeeded.load(); }

    // Worker side. Log formats at most 260 characters and appends them.
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void UpdateProgressPicture();
    void Post(SKestrupMessage message);

    // Called on the worker's thread with every message it posts, before the
    // dialog sees it (for tools and tests that follow the work as it happens).
    void SetWorkerObserver(std::function<void(const SKestrupMessage&)> observer);

    const SKestrupOptions& GetOptions() const { return m_options; }

private:
    friend void DecompressThread(CKestrupDlg* dialog);

    IKestrupView& m_view;
    SKestrupOptions m_options;

    std::mutex m_lock; // held by the worker for its whole run
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_succeeded{false};
    bool m_closed = false;
    std::thread m_worker;

    int m_progressPicture = -1;
    CQelPakFile* m_pakFile = nullptr;
    const CQelPakFileFolder* m_rootFolder = nullptr;
    uint32_t m_fileCount = 0;
    uint32_t m_doneCount = 0;

    std::function<void(const SKestrupMessage&)> m_observer;
    std::mutex m_queueLock;
    std::condition_variable m_queueSignal;
    std::deque<SKestrupMessage> m_queue;
};

// The worker: opens the resource pack, converts and stores every file, and only
// when the new output was written and checked puts it in place and deletes the
// old patch and the pack.
void DecompressThread(CKestrupDlg* dialog);
