#include "tests/support/frontend/FailingWriteLayer.h"

#include "utility/source/QelFile.h"

#include <csignal>

namespace
{
class CFailingFile : public CFileInterface
{
public:
    CFailingFile(CFailingWriteLayer& layer, std::unique_ptr<CFileInterface> inner)
        : m_layer(layer), m_inner(std::move(inner))
    {
    }

    bool Open(const char*, const char*, uint32_t) override { return false; }
    bool Close() override
    {
        if (m_failed || !m_layer.TakeClose())
        {
            m_inner.reset();  // abandoned: the old file stays
            return false;
        }
        return m_inner->Close();
    }
    bool Write(const void* buffer, uint32_t count, uint32_t* written) override
    {
        if (m_layer.TakeWrite())
            return m_inner->Write(buffer, count, written);
        m_inner->Write(buffer, count / 2, written);
        m_failed = true;
        return false;
    }
    bool Read(void* buffer, uint32_t count, uint32_t* read) override { return m_inner->Read(buffer, count, read); }
    bool GetLastWriteTime(uint32_t& high, uint32_t& low) override { return m_inner->GetLastWriteTime(high, low); }
    bool GetDateText(CWString& month, int& day, int& hour, int& minute, int& second) override
    {
        return m_inner->GetDateText(month, day, hour, minute, second);
    }
    uint32_t GetFileSize() const override { return m_inner->GetFileSize(); }
    bool Rewind() override { return m_inner->Rewind(); }
    bool Skip(int32_t distance) override { return m_inner->Skip(distance); }
    bool ReadWholeFile(const char* name, const uint8_t*& buffer, uint32_t& size, bool& isCopy) override
    {
        return m_inner->ReadWholeFile(name, buffer, size, isCopy);
    }
    const char* GetPath() const override { return m_inner->GetPath(); }

private:
    CFailingWriteLayer& m_layer;
    std::unique_ptr<CFileInterface> m_inner;
    bool m_failed = false;
};
} // namespace

CFailingWriteLayer::CFailingWriteLayer()
{
    SetFileWriteLayer(this);
}

CFailingWriteLayer::~CFailingWriteLayer()
{
    SetFileWriteLayer(nullptr);
}

std::unique_ptr<CFileInterface> CFailingWriteLayer::OpenForWriting(const std::string& path)
{
    if (++m_opens == m_failOpen)
        return nullptr;
    std::unique_ptr<CFileInterface> inner = CFileWriteLayer::OpenForWriting(path);
    if (!inner)
        return nullptr;
    return std::make_unique<CFailingFile>(*this, std::move(inner));
}

bool CFailingWriteLayer::TakeWrite()
{
    return ++m_writes != m_failWrite;
}

bool CFailingWriteLayer::TakeClose()
{
    if (++m_closes == m_killClose)
        std::raise(SIGKILL);
    return m_closes != m_failClose;
}
