#include "tools/preview/edit/settings_edit.h"

#include "tools/preview/files/whole_files.h"

#include "config/ini_reader.h"

#include <windows.h>

#include <utility>

namespace preview {

namespace {

// Written beside the file, flushed, then swapped in: neither a crash nor the HUD's own reader
// ever meets half a file.
bool replaceWhole(const std::string& path, const std::string& bytes, std::string& error) {
    const std::wstring target = pathOf(path).wstring();
    const std::wstring temporary = target + beingWritten;
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot write beside " + path;
        return false;
    }
    DWORD written = 0;
    const bool whole =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (whole && MoveFileExW(temporary.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    error = "cannot replace " + path;
    return false;
}

} // namespace

bool settingsFileNamed(std::string_view name, SettingsFile& file) {
    for (const auto& [known, which] : {std::pair{"layout", SettingsFile::Layout},
                                       std::pair{"IIIColors", SettingsFile::IIIColors},
                                       std::pair{"VColors", SettingsFile::VColors}}) {
        if (name == known) {
            file = which;
            return true;
        }
    }
    return false;
}

SettingsEditor::SettingsEditor(std::string dataFolder) : data_(std::move(dataFolder)) {
    for (const SettingsFile file :
         {SettingsFile::Layout, SettingsFile::IIIColors, SettingsFile::VColors}) {
        std::string bytes;
        if (readWholeFile(pathOfFile(file), bytes)) known_[file] = std::move(bytes);
    }
}

std::string SettingsEditor::pathOfFile(SettingsFile file) const {
    const char* const name = file == SettingsFile::Layout      ? "tarvel_III.ini"
                             : file == SettingsFile::IIIColors ? "color_configs\\IIIColors.ini"
                                                               : "color_configs\\VColors.ini";
    return data_ + "\\tarvel_moravik\\" + name;
}

bool SettingsEditor::numberOf(SettingsFile file, std::string_view key, float& value) const {
    IniReader reader;
    if (!reader.load(pathOfFile(file).c_str())) return false;
    const IniEntry entry = reader.find(key);
    if (entry.absent) return false;
    value = entry.asFloat(value);
    return true;
}

EditAnswer SettingsEditor::set(SettingsFile file, std::string_view key, std::string_view value) {
    const std::lock_guard<std::mutex> one(busy_);
    EditAnswer answer;
    const std::string path = pathOfFile(file);
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        answer.error = "cannot read " + path;
        return answer;
    }
    const auto known = known_.find(file);
    answer.tookAnotherSave = known != known_.end() && known->second != bytes;
    known_[file] = bytes;
    IniWrite write = withIniValue(bytes, key, value);
    answer.outcome = write.outcome;
    if (!applied(write)) return answer;
    if (!replaceWhole(path, write.bytes, answer.error)) return answer;
    answer.line = write.line;
    known_[file] = std::move(write.bytes);
    return answer;
}

} // namespace preview
