#include "kestrup/KestrupViews.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

std::string ToTerminalText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text.compare(i, 3, "\r\r\n") == 0)
        {
            out += '\n';
            i += 2;
        }
        else
            out += text[i];
    }
    return out;
}

bool IsHeadlessRun()
{
    const char* headless = std::getenv("KESTRUP_HEADLESS");
    if (headless && *headless && std::strcmp(headless, "0") != 0)
        return true;
    return !isatty(STDOUT_FILENO);
}

namespace
{
void ShowBox(FILE* errors, const SKestrupMessage& message)
{
    std::fprintf(errors, "%s: %s\n", message.m_caption.c_str(), ToTerminalText(message.m_text).c_str());
    std::fflush(errors);
}

const char* kCancelRefused = "The resources are being unpacked and this cannot be cancelled; please wait.\n";

class CHeadlessView : public IKestrupView
{
public:
    CHeadlessView(FILE* out, FILE* errors) : m_out(out), m_errors(errors) {}

    void Show(const SKestrupMessage& message) override
    {
        if (message.m_kind == SKestrupMessage::LOG)
        {
            std::fputs(ToTerminalText(message.m_text).c_str(), m_out);
            std::fflush(m_out);
        }
        else if (message.m_kind == SKestrupMessage::FATAL_BOX)
            ShowBox(m_errors, message);
    }

    void ShowCancelRefused() override { std::fputs(kCancelRefused, m_errors); }

private:
    FILE* m_out;
    FILE* m_errors;
};

// Log lines scroll above one status line that is redrawn in place:
//   [##########..........]  12/40  stage [####......]
class CTerminalView : public IKestrupView
{
public:
    CTerminalView(FILE* out, FILE* errors) : m_out(out), m_errors(errors) {}
    ~CTerminalView() override
    {
        Flush();
        ClearStatus();
        std::fflush(m_out);
    }

    void Show(const SKestrupMessage& message) override
    {
        switch (message.m_kind)
        {
        case SKestrupMessage::LOG:
            m_pending += ToTerminalText(message.m_text);
            PrintCompleteLines();
            break;
        case SKestrupMessage::PROGRESS_RANGE: m_range = message.m_value; break;
        case SKestrupMessage::PROGRESS_POSITION: m_position = message.m_value; break;
        case SKestrupMessage::PICTURE: m_picture = static_cast<int>(message.m_value); break;
        case SKestrupMessage::FATAL_BOX:
            ClearStatus();
            ShowBox(m_errors, message);
            break;
        case SKestrupMessage::ENABLE_OK:
        case SKestrupMessage::COMMAND_OK: break;
        }
        m_dirty = true;
    }

    void ShowCancelRefused() override
    {
        ClearStatus();
        std::fputs(kCancelRefused, m_errors);
        m_dirty = true;
    }

    void Tick() override
    {
        if (!m_dirty)
            return;
        DrawStatus();
        m_dirty = false;
    }

private:
    void PrintCompleteLines()
    {
        size_t end = m_pending.rfind('\n');
        if (end == std::string::npos)
            return;
        ClearStatus();
        std::fwrite(m_pending.data(), 1, end + 1, m_out);
        m_pending.erase(0, end + 1);
    }

    void Flush()
    {
        if (m_pending.empty())
            return;
        ClearStatus();
        std::fputs(m_pending.c_str(), m_out);
        std::fputc('\n', m_out);
        m_pending.clear();
    }

    void ClearStatus()
    {
        if (m_statusShown)
            std::fputs("\r\033[K", m_out);
        m_statusShown = false;
    }

    void DrawStatus()
    {
        const int width = 30;
        int filled = m_range ? static_cast<int>(uint64_t(m_position) * width / m_range) : 0;
        std::string bar(static_cast<size_t>(filled), '#');
        bar.resize(width, '.');
        std::string stage(static_cast<size_t>(m_picture + 1), '#');
        stage.resize(10, '.');
        ClearStatus();
        std::fprintf(m_out, "[%s] %u/%u  stage [%s] %s", bar.c_str(), m_position, m_range, stage.c_str(),
                     m_pending.c_str());
        std::fflush(m_out);
        m_statusShown = true;
    }

    FILE* m_out;
    FILE* m_errors;
    std::string m_pending; // log text of a line not yet complete
    uint32_t m_range = 0;
    uint32_t m_position = 0;
    int m_picture = -1;
    bool m_statusShown = false;
    bool m_dirty = true;
};
} // namespace

std::unique_ptr<IKestrupView> CreateTerminalView(FILE* out, FILE* errors)
{
    return std::make_unique<CTerminalView>(out, errors);
}

std::unique_ptr<IKestrupView> CreateHeadlessView(FILE* out, FILE* errors)
{
    return std::make_unique<CHeadlessView>(out, errors);
}
