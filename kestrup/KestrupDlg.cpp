#include "kestrup/KestrupDlg.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>

CKestrupDlg::CKestrupDlg(IKestrupView& view, const SKestrupOptions& options) : m_view(view), m_options(options)
{
}

CKestrupDlg::~CKestrupDlg()
{
    if (m_worker.joinable())
        m_worker.join();
}

bool CKestrupDlg::OnInitDialog()
{
    if (m_worker.joinable())
        return false;
    m_worker = std::thread(&DecompressThread, this);
    return true;
}

bool CKestrupDlg::OnOK()
{
    if (!m_finished.load())
        return false;
    m_closed = true;
    return true;
}

bool CKestrupDlg::OnCancel()
{
    // The worker holds the lock while it runs: a lock that cannot be taken means
    // it is still working. Never wait for it here.
    std::unique_lock<std::mutex> hold(m_lock, std::try_to_lock);
    if (!hold.owns_lock() || !m_finished.load())
        return false;
    m_closed = true;
    return true;
}

int CKestrupDlg::RunModal(std::atomic<bool>* cancelRequested)
{
    while (!m_closed)
    {
        std::deque<SKestrupMessage> messages;
        {
            std::unique_lock<std::mutex> hold(m_queueLock);
            m_queueSignal.wait_for(hold, std::chrono::milliseconds(100), [&] { return !m_queue.empty(); });
            messages.swap(m_queue);
        }
        for (const SKestrupMessage& message : messages)
        {
            if (message.m_kind == SKestrupMessage::COMMAND_OK)
                OnOK();
            else
                m_view.Show(message);
        }
        if (cancelRequested && cancelRequested->exchange(false) && !OnCancel())
            m_view.ShowCancelRefused();
        m_view.Tick();
    }
    if (m_worker.joinable())
        m_worker.join();
    return m_succeeded.load() ? 0 : 1;
}

void CKestrupDlg::Log(const char* format, ...)
{
    char text[261];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    SKestrupMessage message;
    message.m_kind = SKestrupMessage::LOG;
    message.m_text = text;
    Post(std::move(message));
}

void CKestrupDlg::UpdateProgressPicture()
{
    if (m_fileCount == 0)
        return;
    int picture = static_cast<int>(uint64_t(m_doneCount) * 10 / m_fileCount);
    if (picture > 9)
        picture = 9;
    if (picture == m_progressPicture)
        return;
    m_progressPicture = picture;
    SKestrupMessage message;
    message.m_kind = SKestrupMessage::PICTURE;
    message.m_value = static_cast<uint32_t>(picture);
    Post(std::move(message));
}

void CKestrupDlg::Post(SKestrupMessage message)
{
    if (m_observer)
        m_observer(message);
    std::lock_guard<std::mutex> hold(m_queueLock);
    m_queue.push_back(std::move(message));
    m_queueSignal.notify_one();
}

void CKestrupDlg::SetWorkerObserver(std::function<void(const SKestrupMessage&)> observer)
{
    m_observer = std::move(observer);
}
