#pragma once
// The layout editor's writes: one value of one of the data folder's three settings files at a
// time, the rest of the file kept byte for byte, each save whole or not at all. Windows only: it
// runs in the preview program.
#include "config/ini_value_writer.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace preview {

// The files the editor may write, by the names the page gives them: "layout", "IIIColors",
// "VColors". No path ever comes from a request.
enum class SettingsFile { Layout, IIIColors, VColors };
// Appended to a file's name for the copy written beside it before it is swapped in.
constexpr wchar_t beingWritten[] = L".editing";
bool settingsFileNamed(std::string_view name, SettingsFile& file);

struct EditAnswer {
    IniWriteOutcome outcome = IniWriteOutcome::NotText;
    int line = 0;                 // the line now holding the value; 0 when nothing was written
    bool tookAnotherSave = false; // the file had been saved by another editor since
    std::string error;            // why the file could not be read or written, if it could not
};

// Remembers each file as it last read or wrote it, so that a save made in another editor since
// is taken as the base of the next change rather than overwritten.
class SettingsEditor {
  public:
    explicit SettingsEditor(std::string dataFolder);
    EditAnswer set(SettingsFile file, std::string_view key, std::string_view value);
    // The number the HUD takes for the key from the file as it is now; false when no line of
    // it gives the key.
    bool numberOf(SettingsFile file, std::string_view key, float& value) const;

  private:
    std::string pathOfFile(SettingsFile file) const;

    std::string data_; // UTF-8, holding tarvel_moravik
    std::map<SettingsFile, std::string> known_;
    std::mutex busy_;
};

} // namespace preview
