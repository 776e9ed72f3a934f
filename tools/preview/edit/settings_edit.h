#pragma once
// The layout editor's writes: values of one of the data folder's three settings files at a
// time, the rest of the file kept byte for byte, each save whole or not at all, each undoable by
// the page that made it. Windows only: it runs in the preview program.
#include "config/ini_value_writer.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace preview {

// The files the editor may write, by the names the page gives them: "layout", "IIIColors",
// "VColors". No path ever comes from a request.
enum class SettingsFile { Layout, IIIColors, VColors };
// The extension of the copy written beside a file before it is swapped in; its name also holds
// the writing process's id, so that two editors of one data folder never share it.
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
    bool unchanged = false; // the file already held every value: nothing written
    bool written = false;   // the file now holds the change
    bool refused = false;   // the change asked for cannot be made as asked: nothing written
    std::string error;      // why nothing was written, when a key or the file refused it
};

// The values a change writes, computed from the file's bytes as the change reads them, under
// the lock every change of the editor holds; false with why when there are none to write.
using ValuesOf =
    std::function<bool(const std::string& bytes, std::vector<KeyValue>& values, std::string& why)>;

// Remembers each file as it last read or wrote it, so that a save made in another editor since
// is taken as the base of the next change rather than overwritten; and every change it made,
// as the file's bytes before and after, with the page that made it, to undo and redo.
class SettingsEditor {
  public:
    explicit SettingsEditor(std::string dataFolder);
    // Every value set in memory, then the file written once; if one key is refused, none is.
    // page: the page (browser tab) making the change, which alone undoes it. asTheHudTakesIt:
    // each key must be one the HUD reads from this file, and take its value as written.
    EditAnswer change(SettingsFile file, const std::string& page, const ValuesOf& valuesOf,
                      bool asTheHudTakesIt = false);
    EditAnswer set(SettingsFile file, const std::string& page, const std::vector<KeyValue>& values,
                   bool asTheHudTakesIt = false);
    // The file holding tarvel_moravik's layout as the HUD reads it, UTF-8.
    std::string layoutPath() const { return pathOfFile(SettingsFile::Layout); }

    // This page's last change undone, or its last undone made again, if its file still holds the
    // bytes that change left; false with why when nothing was written. A change of another page
    // made on top of it since is not undone from here.
    bool undo(const std::string& page, std::string& why);
    bool redo(const std::string& page, std::string& why);

  private:
    struct Change {
        SettingsFile file;
        std::string page, before, after;
    };
    std::string pathOfFile(SettingsFile file) const;
    bool swapIn(const Change& change, bool back, std::string& why);

    std::string data_; // UTF-8, holding tarvel_moravik
    std::map<SettingsFile, std::string> known_;
    std::vector<Change> done_;                          // every page's, the latest last
    std::map<std::string, std::vector<Change>> undone_; // by page, the latest last
    std::mutex busy_; // held through every read, change and write of a file
};

// Why the HUD would not take the key's value as written in the file's bytes: the reader's own
// finding on its line, or that the file is not one the HUD reads the key from; empty when taken.
std::string whyNotTaken(SettingsFile file, const std::string& bytes, std::string_view key);

// The value the shipped file of that name gives the key; false when it sets none.
bool shippedValue(SettingsFile file, std::string_view key, std::string& value);
// Every key the shipped file sets, with its value, in file order.
std::vector<KeyValue> shippedValues(SettingsFile file);

} // namespace preview
