#pragma once
// The layout editor's writes: values of one of the data folder's three settings files at a
// time, the rest of the file kept byte for byte, each save whole or not at all, each undoable.
// Windows only: it runs in the preview program.
#include "config/ini_value_writer.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace preview {

// The files the editor may write, by the names the page gives them: "layout", "IIIColors",
// "VColors". No path ever comes from a request.
enum class SettingsFile { Layout, IIIColors, VColors };
// Appended to a file's name for the copy written beside it before it is swapped in.
constexpr wchar_t beingWritten[] = L".editing";
bool settingsFileNamed(std::string_view name, SettingsFile& file);

struct KeyValue {
    std::string key, value;
};

// What became of one key's value.
struct KeyWritten {
    std::string key, value;
    IniWriteOutcome outcome = IniWriteOutcome::NotText;
    int line = 0; // the line now holding the value; 0 when nothing was written
};

struct EditAnswer {
    // As asked; or only the first the file refuses, and then none is written.
    std::vector<KeyWritten> keys;
    bool tookAnotherSave = false; // the file had been saved by another editor since
    // and changed a line this change writes: its text is taken, nothing written
    bool lineChangedElsewhere = false;
    std::string error; // why the file could not be read or written, if it could not
};

// Remembers each file as it last read or wrote it, so that a save made in another editor since
// is taken as the base of the next change rather than overwritten; and every change it made,
// as the file's bytes before and after, to undo and redo.
class SettingsEditor {
  public:
    explicit SettingsEditor(std::string dataFolder);
    // Every value set in memory, then the file swapped in once; if one key is refused, none is
    // written.
    EditAnswer set(SettingsFile file, const std::vector<KeyValue>& values);
    EditAnswer set(SettingsFile file, std::string_view key, std::string_view value) {
        return set(file, {{std::string(key), std::string(value)}});
    }
    // The file holding tarvel_moravik's layout as the HUD reads it, UTF-8.
    std::string layoutPath() const { return pathOfFile(SettingsFile::Layout); }

    // The last change undone, or the last undone made again, if its file still holds the bytes
    // that change left; false with why when nothing was written.
    bool undo(std::string& why) { return step(done_, undone_, true, why); }
    bool redo(std::string& why) { return step(undone_, done_, false, why); }

  private:
    struct Change {
        SettingsFile file;
        std::string before, after;
    };
    std::string pathOfFile(SettingsFile file) const;
    bool step(std::vector<Change>& from, std::vector<Change>& to, bool back, std::string& why);

    std::string data_; // UTF-8, holding tarvel_moravik
    std::map<SettingsFile, std::string> known_;
    std::vector<Change> done_, undone_; // the latest last
    std::mutex busy_;
};

} // namespace preview
