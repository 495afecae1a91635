#include "kestrup/DataFileWriter.h"
#include "kestrup/ExtractPipeline.h"
#include "kestrup/KestrupDlg.h"

#include "utility/source/QelErrorLog.h"
#include "utility/source/QelMemoryTracker.h"
#include "utility/source/QelPathResolve.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>

namespace
{
CKestrupDlg* s_logDialog = nullptr;

// Reasons the utility library reports (a malformed pack, say) go to the log box.
void LogError(const char* text, uint32_t)
{
    if (s_logDialog)
        s_logDialog->Log("%s\r\r\n", text);
}

std::string InFolder(const SKestrupOptions& options, const std::string& name)
{
    return ResolvePathNoCase(options.m_folder + "/" + name);
}

void PostKind(CKestrupDlg& dialog, SKestrupMessage::EKind kind, uint32_t value = 0)
{
    SKestrupMessage message;
    message.m_kind = kind;
    message.m_value = value;
    dialog.Post(std::move(message));
}

void ShowFatal(CKestrupDlg& dialog, const char* text)
{
    SKestrupMessage message;
    message.m_kind = SKestrupMessage::FATAL_BOX;
    message.m_caption = "Fatal Error";
    message.m_text = text;
    dialog.Post(std::move(message));
}

// Makes a rename durable: the folder's entry is flushed too.
bool SyncFolder(const std::string& folder)
{
    int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
    bool ok = fsync(handle) == 0;
    close(handle);
    return ok;
}
} // namespace

void DecompressThread(CKestrupDlg* dialog)
{
    CKestrupDlg& dlg = *dialog;
    const SKestrupOptions& options = dlg.GetOptions();
    std::unique_lock<std::mutex> section(dlg.m_lock);
    s_logDialog = &dlg;
    g_errorLog.AddListener(&LogError, 0);

    // Ends a run that could not start: the box is shown, the finished flag set.
    auto endFatal = [&](const char* logText, const char* boxText) {
        PostKind(dlg, SKestrupMessage::ENABLE_OK);
        dlg.Log("%s", logText);
        ShowFatal(dlg, boxText);
        if (dlg.m_pakFile)
        {
            dlg.m_pakFile->Close();
            QEL_DELETE(dlg.m_pakFile);
            dlg.m_pakFile = nullptr;
        }
        g_errorLog.RemoveListener(&LogError, 0);
        s_logDialog = nullptr;
        section.unlock();
        dlg.m_finished = true;
        PostKind(dlg, SKestrupMessage::COMMAND_OK);
    };

    dlg.Log("Initializing...\r\r\n");
    dlg.Log("Opening compressed pak file...\r\r\n");
    dlg.m_pakFile = QEL_NEW(CQelPakFile);
    if (!dlg.m_pakFile)
    {
        endFatal("A memory allocation error occurred!\r\r\n",
                 "A memory allocation error occurred, please ensure you have free memory and disk space");
        return;
    }
    const std::string pakPath = InFolder(options, options.m_pakName);
    if (!dlg.m_pakFile->Open(pakPath.c_str()) || !dlg.m_pakFile->GetRootFolder(dlg.m_rootFolder))
    {
        endFatal("Failed to open compressed data pak file!\r\r\n",
                 "Failed to open compressed data pak file! Installation Failed");
        return;
    }
    dlg.m_fileCount = dlg.m_rootFolder->CountFiles();
    dlg.Log("Found %d files in pak file...\r\r\n", static_cast<int>(dlg.m_fileCount));
    PostKind(dlg, SKestrupMessage::PROGRESS_POSITION, 0);
    PostKind(dlg, SKestrupMessage::PROGRESS_RANGE, dlg.m_fileCount);
    dlg.m_doneCount = 0;

    // The new output is written beside the old one and replaces it only once it
    // is complete and reads back.
    const std::string outputPath = InFolder(options, options.m_outputName);
    const std::string partPath = outputPath + ".part";
    SDataFileWriter writer;
    if (!OpenDataFile(writer, partPath.c_str()))
    {
        endFatal("Failed to create the output data file!\r\r\n",
                 "Failed to create the output data file.\nPlease ensure you have at least 120MB free disk space\nand "
                 "try installing Tessavar again");
        return;
    }

    std::vector<SExtractItem> items;
    CollectExtractItems(*dlg.m_rootFolder, "", items);
    SExtractPlan plan;
    plan.m_threadCount = options.m_threadCount > 0 ? options.m_threadCount : GetDefaultExtractThreads();
    bool ok = RunExtractPipeline(items, plan, [&](size_t index, SConvertedFile& file) {
        const SExtractItem& item = items[index];
        dlg.Log("Extracting file - %d/%d - ", static_cast<int>(dlg.m_doneCount + 1), static_cast<int>(dlg.m_fileCount));
        if (!file.m_ok)
        {
            dlg.Log("failed! (%s: %s)\r\r\n", item.m_file->m_name, file.m_error.c_str());
            return false;
        }
        std::string name = GetEntryName(item.m_folderPath, item.m_file->m_name);
        if (!WriteDataFileEntry(writer, name.c_str(), file.m_size, file.m_data))
        {
            dlg.Log("failed!\r\r\n");
            return false;
        }
        ++dlg.m_doneCount;
        dlg.UpdateProgressPicture();
        dlg.Log("ok!\r\r\n");
        PostKind(dlg, SKestrupMessage::PROGRESS_POSITION, dlg.m_doneCount);
        return true;
    });

    if (ok && !CloseDataFile(writer))
    {
        dlg.Log("Failed to finish the output data file!\r\r\n");
        ok = false;
    }
    if (!ok)
        AbandonDataFile(writer);
    PostKind(dlg, SKestrupMessage::ENABLE_OK);
    dlg.m_pakFile->Close();
    QEL_DELETE(dlg.m_pakFile);
    dlg.m_pakFile = nullptr;
    dlg.m_rootFolder = nullptr;

    std::string error;
    if (ok && !VerifyDataFile(partPath.c_str(), writer.m_entries, error))
    {
        dlg.Log("The output data file does not read back: %s\r\r\n", error.c_str());
        ok = false;
    }
    if (ok && (std::rename(partPath.c_str(), outputPath.c_str()) != 0 || !SyncFolder(options.m_folder)))
    {
        dlg.Log("The output data file cannot be put in place!\r\r\n");
        ok = false;
    }
    if (ok)
    {
        // Only now that the new patch is in place may the old one and the pack go.
        dlg.Log("Removing old patch files...\r\r\n");
        // Every spelling of the old patch's name goes: the game would mount any of them.
        // One that stays would be mounted after the new output and hide its files, so
        // the run fails and keeps the pack for another try.
        std::string stuck;
        for (int spelling = 0; spelling < 8; ++spelling)
        {
            const std::string oldPatch = InFolder(options, options.m_oldPatchName);
            if (std::remove(oldPatch.c_str()) != 0)
            {
                if (errno != ENOENT)
                    stuck = oldPatch;
                break;
            }
        }
        if (stuck.empty())
        {
            dlg.Log("\r\r\nFile decompression completed successfully.\r\r\n");
            std::remove(pakPath.c_str());
        }
        else
        {
            dlg.Log("\r\r\nThe old patch file %s could not be removed; remove it and run again.\r\r\n", stuck.c_str());
            ok = false;
        }
    }
    else
    {
        std::remove(partPath.c_str());
        dlg.Log("\r\r\nFile decompression failed - check installer is valid and there is enough free disk "
                "space.\r\r\n");
    }

    g_errorLog.RemoveListener(&LogError, 0);
    s_logDialog = nullptr;
    dlg.m_succeeded = ok;
    section.unlock();
    dlg.m_finished = true;
    PostKind(dlg, SKestrupMessage::COMMAND_OK);
}
