#include "tools/preview/edit/settings_edit.h"

#include "config/hud_settings.h"
#include "config/ini_reader.h"
#include "config/settings_findings.h"
#include "config/settings_report.h"
#include "tools/preview/files/shipped_settings.h"
#include "tools/preview/files/whole_files.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>

namespace preview {

namespace {

const char* nameOf(SettingsFile file) {
    return file == SettingsFile::Layout      ? "tarvel_III.ini"
           : file == SettingsFile::IIIColors ? "color_configs\\IIIColors.ini"
                                             : "color_configs\\VColors.ini";
}

// The bytes written and flushed to a new file; false when any of them could not be.
bool writeFlushed(const std::wstring& path, DWORD creation, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, creation,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool whole =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && SetEndOfFile(file) && FlushFileBuffers(file);
    CloseHandle(file);
    return whole;
}

// Where a path leads once every link on the way is followed; empty when it cannot be opened.
std::wstring finalPathOf(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::wstring final(32768, L'\0');
    const DWORD length =
        GetFinalPathNameByHandleW(file, final.data(), DWORD(final.size()), FILE_NAME_NORMALIZED);
    CloseHandle(file);
    final.resize(length < final.size() ? length : 0);
    return final;
}

// A file reached through a link leads somewhere other than its folder's own entry of that name
// (Wine shows a Unix symbolic link so, with no reparse point).
bool reachedThroughALink(const std::wstring& path) {
    const std::filesystem::path name(path);
    const std::wstring file = finalPathOf(path), folder = finalPathOf(name.parent_path());
    if (file.empty() || folder.empty()) return false;
    const std::wstring expected = (std::filesystem::path(folder) / name.filename()).wstring();
    return CompareStringOrdinal(file.c_str(), -1, expected.c_str(), -1, TRUE) != CSTR_EQUAL;
}

// A file that other names share (a hard link, as mod managers deploy a file, or a link of the
// file system): swapping a new file in would part it from them.
bool linkedElsewhere(const std::wstring& path) {
    if (reachedThroughALink(path)) return true;
    const HANDLE file = CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return known && (information.nNumberOfLinks > 1 ||
                     (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT));
}

// The new bytes are first written whole and flushed beside the file, under a name of this
// process; then swapped in, so that neither a crash nor the HUD's own reader ever meets half a
// file. A linked file is written in place instead, from the complete copy, which is kept
// should that write fail. A read-only file is never written.
bool writeSettingsFile(const std::string& path, const std::string& bytes, std::string& error) {
    const std::wstring target = pathOf(path).wstring();
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = path + " is read-only: nothing was written (clear its read-only mark to edit it)";
        return false;
    }
    const std::wstring temporary =
        target + L"." + std::to_wstring(GetCurrentProcessId()) + beingWritten;
    if (!writeFlushed(temporary, CREATE_ALWAYS, bytes)) {
        DeleteFileW(temporary.c_str());
        error = "cannot write beside " + path + ": nothing was written";
        return false;
    }
    if (linkedElsewhere(target)) {
        if (writeFlushed(target, OPEN_EXISTING, bytes)) {
            DeleteFileW(temporary.c_str());
            return true;
        }
        error = "cannot write " + path + " (a linked file, written in place): its new text is in " +
                utf8Of(std::filesystem::path(temporary));
        return false;
    }
    if (MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    error = "cannot replace " + path + " (another program may hold it): nothing was written";
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

std::string whyNotTaken(SettingsFile file, const std::string& bytes, std::string_view key) {
    const bool layout = file == SettingsFile::Layout;
    const std::vector<std::string_view> keys = keysOfFile(layout);
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
        const std::vector<std::string_view> others = keysOfFile(!layout);
        return std::string(key) + " is not a key the HUD reads from " + nameOf(file) +
               (std::find(others.begin(), others.end(), key) != others.end()
                    ? layout ? ": it is read from the colour file" : ": it is read from the layout"
                    : "");
    }
    IniReader reader;
    reader.parse(bytes.data(), bytes.size());
    SettingsFileReport report;
    startReport(report, nameOf(file), SettingsFileState::Read, reader);
    if (layout) {
        HudSettings settings;
        readLayoutFile(settings, reader, &report);
    } else {
        HudColors colours;
        readColorFile(colours, reader, &report);
    }
    // An element that fades takes the colour as written but its alpha from the fade, as the
    // page says beside the colour: that alone is no reason to refuse it.
    const std::string_view alphaFrom = alphaOfColourFrom(key);
    const int line = reader.find(key).line;
    for (const SettingsFinding& finding : report.findings)
        if (finding.line == line &&
            (alphaFrom.empty() || finding.message.find(alphaFrom) == std::string::npos))
            return finding.message;
    return {};
}

bool shippedValue(SettingsFile file, std::string_view key, std::string& value) {
    const std::string_view bytes = shippedSettings(nameOf(file));
    IniReader reader;
    reader.parse(bytes.data(), bytes.size());
    const IniEntry entry = reader.find(key);
    if (entry.absent) return false;
    value = std::string(entry.quoted ? entry.asString("") : entry.value);
    return true;
}

std::vector<KeyValue> shippedValues(SettingsFile file) {
    const std::string_view bytes = shippedSettings(nameOf(file));
    IniReader reader;
    reader.parse(bytes.data(), bytes.size());
    std::vector<KeyValue> values;
    for (const IniEntry& entry : reader.entries()) {
        const bool first = std::none_of(values.begin(), values.end(),
                                        [&](const KeyValue& v) { return v.key == entry.key; });
        if (first)
            values.push_back({std::string(entry.key),
                              std::string(entry.quoted ? entry.asString("") : entry.value)});
    }
    return values;
}

SettingsEditor::SettingsEditor(std::string dataFolder) : data_(std::move(dataFolder)) {
    for (const SettingsFile file :
         {SettingsFile::Layout, SettingsFile::IIIColors, SettingsFile::VColors}) {
        std::string bytes;
        if (readWholeFile(pathOfFile(file), bytes)) known_[file] = std::move(bytes);
    }
}

std::string SettingsEditor::pathOfFile(SettingsFile file) const {
    return data_ + "\\tarvel_moravik\\" + nameOf(file);
}

EditAnswer SettingsEditor::set(SettingsFile file, const std::string& page,
                               const std::vector<KeyValue>& values, bool asTheHudTakesIt) {
    return change(
        file, page,
        [&](const std::string&, std::vector<KeyValue>& out, std::string&) {
            out = values;
            return true;
        },
        asTheHudTakesIt);
}

EditAnswer SettingsEditor::change(SettingsFile file, const std::string& page,
                                  const ValuesOf& valuesOf, bool asTheHudTakesIt) {
    const std::lock_guard<std::mutex> one(busy_);
    EditAnswer answer;
    const std::string path = pathOfFile(file);
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        answer.error = "cannot read " + path + ": nothing was written";
        return answer;
    }
    std::vector<KeyValue> values;
    if (!valuesOf(bytes, values, answer.error)) {
        answer.refused = true;
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
            answer.error = value.key + ": " + std::string(describe(write.outcome));
            answer.refused = true;
            return answer;
        }
        answer.keys.push_back({value.key, value.value, write.outcome, write.line});
        changed = std::move(write.bytes);
    }
    if (asTheHudTakesIt)
        for (const KeyValue& value : values)
            if (std::string why = whyNotTaken(file, changed, value.key); !why.empty()) {
                answer.keys = {{value.key, value.value, IniWriteOutcome::ValueNotWritable, 0}};
                answer.error = value.key + " is not taken as written: " + why;
                answer.refused = true;
                return answer;
            }
    // The file holds these values already: nothing is written, and no render follows.
    if (changed == bytes) {
        answer.unchanged = true;
        return answer;
    }
    if (!writeSettingsFile(path, changed, answer.error)) {
        for (KeyWritten& written : answer.keys)
            written.line = 0;
        return answer;
    }
    answer.written = true;
    done_.push_back({file, page, bytes, changed});
    undone_[page].clear();
    known_[file] = std::move(changed);
    return answer;
}

bool SettingsEditor::swapIn(const Change& change, bool back, std::string& why) {
    const std::string path = pathOfFile(change.file);
    const std::string& expected = back ? change.after : change.before;
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        why = "cannot read " + path + ": nothing was written";
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
    if (!writeSettingsFile(path, wanted, why)) return false;
    known_[change.file] = wanted;
    return true;
}

bool SettingsEditor::undo(const std::string& page, std::string& why) {
    const std::lock_guard<std::mutex> one(busy_);
    const auto mine = std::find_if(done_.rbegin(), done_.rend(),
                                   [&](const Change& change) { return change.page == page; });
    if (mine == done_.rend()) {
        why = "nothing this page changed is left to undo";
        return false;
    }
    // Changes made since, latest first: one of another page on the same file stands on this.
    for (auto later = done_.rbegin(); later != mine; ++later)
        if (later->file == mine->file) {
            why = std::string(nameOf(mine->file)) +
                  " was changed since in another page of the editor (another tab): undo that "
                  "change there first; nothing was undone here";
            return false;
        }
    if (!swapIn(*mine, true, why)) return false;
    undone_[page].push_back(*mine);
    done_.erase(std::next(mine).base());
    return true;
}

bool SettingsEditor::redo(const std::string& page, std::string& why) {
    const std::lock_guard<std::mutex> one(busy_);
    std::vector<Change>& undone = undone_[page];
    if (undone.empty()) {
        why = "nothing this page undid is left to redo";
        return false;
    }
    if (!swapIn(undone.back(), false, why)) return false;
    done_.push_back(std::move(undone.back()));
    undone.pop_back();
    return true;
}

} // namespace preview
