#include "tools/preview/edit/settings_edit.h"

#include "config/ini_reader.h"
#include "tools/preview/files/whole_files.h"

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

// The text of the line the HUD takes the key from; empty when no line sets it.
std::string lineOfKey(const std::string& bytes, std::string_view key) {
    IniReader reader;
    reader.parse(bytes.data(), bytes.size());
    const IniEntry entry = reader.find(key);
    return entry.absent ? std::string() : std::string(entry.text);
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

EditAnswer SettingsEditor::set(SettingsFile file, const std::vector<KeyValue>& values) {
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
    if (answer.tookAnotherSave)
        for (const KeyValue& value : values)
            if (lineOfKey(known->second, value.key) != lineOfKey(bytes, value.key)) {
                answer.lineChangedElsewhere = true;
                answer.error = value.key + "'s line was changed in another editor since: its "
                                           "new text was taken, and this change not made";
                known_[file] = bytes;
                return answer;
            }
    known_[file] = bytes;
    std::string changed = bytes;
    for (const KeyValue& value : values) {
        IniWrite write = withIniValue(changed, value.key, value.value);
        if (!applied(write)) {
            answer.keys = {{value.key, value.value, write.outcome, 0}};
            return answer;
        }
        answer.keys.push_back({value.key, value.value, write.outcome, write.line});
        changed = std::move(write.bytes);
    }
    if (!replaceWhole(path, changed, answer.error)) {
        for (KeyWritten& written : answer.keys)
            written.line = 0;
        return answer;
    }
    if (changed != bytes) {
        done_.push_back({file, bytes, changed});
        undone_.clear();
    }
    known_[file] = std::move(changed);
    return answer;
}

bool SettingsEditor::step(std::vector<Change>& from, std::vector<Change>& to, bool back,
                          std::string& why) {
    const std::lock_guard<std::mutex> one(busy_);
    if (from.empty()) {
        why = back ? "nothing to undo" : "nothing to redo";
        return false;
    }
    const Change& change = from.back();
    const std::string path = pathOfFile(change.file);
    const std::string& expected = back ? change.after : change.before;
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        why = "cannot read " + path;
        return false;
    }
    if (bytes != expected) {
        why = path +
              " was saved in another editor since: nothing was overwritten, and what "
              "the page changed before that can no longer be " +
              (back ? "undone" : "redone") + " here";
        return false;
    }
    const std::string& wanted = back ? change.before : change.after;
    if (!replaceWhole(path, wanted, why)) return false;
    known_[change.file] = wanted;
    to.push_back(change);
    from.pop_back();
    return true;
}

} // namespace preview
