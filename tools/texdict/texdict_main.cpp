// texdict: packs a folder of PNG pictures into one of the game's texture dictionaries, unpacks
// a dictionary into PNG pictures, lists what a dictionary holds, and checks dictionaries against
// the names the HUD looks up (`texdict --help` says how).
#include "texdict/hud_check.h"
#include "texdict/texdict.h"

#include "stb_image.h"
#include "stb_image_write.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;
using texdict::pathFromUtf8;
using texdict::utf8Path;

namespace {

const char* const usage = "usage: texdict pack [--format auto|8888|pal8] DIR FILE.txd\n"
                          "       texdict unpack FILE.txd DIR\n"
                          "       texdict list FILE.txd\n"
                          "       texdict check FILE.txd|FOLDER\n"
                          "       texdict --help\n";

const char* const commands =
    "\n"
    "pack     every DIR/<name>.png becomes the texture <name>. --format auto (the default)\n"
    "         stores a picture of at most 256 colours with an 8-bit palette and any other in\n"
    "         32 bits, 8888 all in 32 bits, pal8 all with a palette, reduced to 256 colours\n"
    "         where there are more. Written as one of the HUD's four dictionaries, it is\n"
    "         checked as check does.\n"
    "unpack   every texture becomes DIR/<name>.png; DIR/textures.txt records their order and\n"
    "         palettes, which pack keeps, so that packing DIR again gives the same file.\n"
    "list     the name, size and format of each texture.\n"
    "check    a dictionary, or the HUD's four in FOLDER (a tarvel_moravik folder or one that\n"
    "         holds it): each name the HUD looks up that it lacks, each name the HUD never\n"
    "         looks up, and each size the game cannot use. Ends with 1 when it finds any.\n"
    "\n"
    "A picture's sides are powers of two from 1 to 1024, its name at most 31 characters.\n"
    "The names the HUD looks up (the game ignores case in them):\n";

void printHelp() {
    std::fputs(usage, stdout);
    std::fputs(commands, stdout);
    for (const auto& hud : hudDictionaries) {
        std::string names;
        for (const auto& name : texdict::namesLookedUp(hud))
            names += " " + name;
        std::printf("  %-15s%s\n", texdict::fileNameOf(hud).c_str(), names.c_str());
    }
}

int fail(const std::string& message) {
    std::fprintf(stderr, "texdict: %s\n", message.c_str());
    return 1;
}

bool isPng(const fs::path& path) {
    return texdict::lowered(utf8Path(path.extension())) == ".png";
}

struct Tally {
    int problems = 0;
    int notes = 0;
};

Tally printFindings(const std::string& file, const std::vector<texdict::Finding>& findings,
                    std::FILE* out) {
    Tally tally;
    for (const auto& finding : findings) {
        std::fprintf(out, "%s: %s%s\n", file.c_str(),
                     finding.problem ? "" : "note: ", finding.text.c_str());
        (finding.problem ? tally.problems : tally.notes) += 1;
    }
    return tally;
}

// stb reads and writes bytes in memory: the files themselves go through texdict's wide-named
// file calls, as an 8-bit file name cannot spell every folder.
bool readPng(const fs::path& picture, texdict::Texture& texture) {
    std::vector<uint8_t> bytes;
    if (!texdict::readBytes(picture, bytes) || bytes.size() > size_t(INT_MAX)) return false;
    int channels = 0;
    unsigned char* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()),
                                                  &texture.width, &texture.height, &channels, 4);
    if (!pixels) return false;
    texture.rgba.assign(pixels, pixels + size_t(texture.width) * size_t(texture.height) * 4);
    stbi_image_free(pixels);
    return true;
}

bool writePng(const fs::path& picture, const texdict::Texture& texture) {
    std::vector<uint8_t> bytes;
    const auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    };
    return stbi_write_png_to_func(append, &bytes, texture.width, texture.height, 4,
                                  texture.rgba.data(), texture.width * 4) &&
           texdict::writeBytes(picture, bytes);
}

// What unpack writes beside the pictures, so that pack gives the same dictionary back: the
// textures' order, one name a line, each with the palette it was stored with.
const char* const recordName = "textures.txt";
const char* const recordHeading =
    "# The dictionary's textures in their order, each with its palette when it had one:\n"
    "# texdict pack keeps both. A picture not named here is packed after these.\n";

struct Recorded {
    std::string name;
    std::vector<uint8_t> palette;
};

std::string hexOf(const std::vector<uint8_t>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (const uint8_t b : bytes)
        text += {digits[b >> 4], digits[b & 15]};
    return text;
}

// The record's lines; a palette that is not 256 colours in hex is left out.
std::vector<Recorded> readRecord(const fs::path& folder) {
    std::vector<uint8_t> bytes;
    std::vector<Recorded> recorded;
    if (!texdict::readBytes(folder / recordName, bytes)) return recorded;
    std::string text(bytes.begin(), bytes.end());
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        Recorded entry;
        const size_t space = line.find(' ');
        entry.name = line.substr(0, space);
        const std::string palette = space == std::string::npos ? "" : line.substr(space + 1);
        if (palette.size() == 5 + 256 * 8 && palette.starts_with("pal8 ")) {
            for (size_t i = 5; i < palette.size(); i += 2) {
                char* stop = nullptr;
                const std::string pair = palette.substr(i, 2);
                entry.palette.push_back(
                    static_cast<uint8_t>(std::strtoul(pair.c_str(), &stop, 16)));
                if (*stop != '\0') break;
            }
            if (entry.palette.size() != 256 * 4) entry.palette.clear();
        }
        recorded.push_back(std::move(entry));
    }
    return recorded;
}

int pack(const fs::path& folder, const fs::path& file, texdict::PixelFormat format) {
    std::error_code failure;
    std::vector<fs::path> pictures;
    for (const auto& entry : fs::directory_iterator(folder, failure))
        if (entry.is_regular_file() && isPng(entry.path())) pictures.push_back(entry.path());
    if (failure) return fail("cannot read the folder " + utf8Path(folder));
    if (pictures.empty()) return fail(utf8Path(folder) + " holds no PNG pictures");
    // In the order unpack recorded, the pictures it does not name after them by name.
    const std::vector<Recorded> recorded = readRecord(folder);
    const auto place = [&](const fs::path& picture) {
        const std::string name = utf8Path(picture.stem());
        return size_t(std::find_if(recorded.begin(), recorded.end(),
                                   [&](const Recorded& r) { return r.name == name; }) -
                      recorded.begin());
    };
    std::sort(pictures.begin(), pictures.end(), [&](const fs::path& a, const fs::path& b) {
        const size_t placeA = place(a), placeB = place(b);
        return placeA != placeB ? placeA < placeB : a < b;
    });

    texdict::Dictionary dictionary;
    for (const auto& picture : pictures) {
        texdict::Texture texture;
        texture.name = utf8Path(picture.stem());
        if (const size_t at = place(picture); at < recorded.size())
            texture.palette = recorded[at].palette;
        if (!readPng(picture, texture))
            return fail(utf8Path(picture) + ": not a PNG picture that can be read");
        if (auto problem = texdict::problemWith(texture); !problem.empty())
            return fail(utf8Path(picture) + ": " + problem);
        dictionary.textures.push_back(std::move(texture));
    }
    std::string error;
    if (!texdict::writeFile(file, dictionary, error, format)) return fail(error);
    std::printf("%s: %zu textures\n", utf8Path(file).c_str(), dictionary.textures.size());
    if (const auto* hud = texdict::hudDictionaryNamed(file))
        printFindings(utf8Path(file), texdict::checkAgainstHud(dictionary, *hud), stderr);
    return 0;
}

// A texture name that could leave the folder, or name no plain file, is not written.
bool safeFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return c >= 0x20 && c < 0x7F && !std::strchr("/\\:*?\"<>|", c);
    });
}

int unpack(const fs::path& file, const fs::path& folder) {
    texdict::Dictionary dictionary;
    std::string error;
    if (!texdict::readFile(file, dictionary, error)) return fail(error);
    std::error_code failure;
    fs::create_directories(folder, failure);
    if (!fs::is_directory(folder, failure))
        return fail("cannot make the folder " + utf8Path(folder));
    std::string record = recordHeading;
    for (const auto& texture : dictionary.textures) {
        if (!safeFileName(texture.name))
            return fail("the texture name '" + texture.name + "' cannot be a file name");
        const fs::path picture = folder / pathFromUtf8(texture.name + ".png");
        if (!writePng(picture, texture)) return fail("cannot write " + utf8Path(picture));
        record += texture.name +
                  (texture.palette.empty() ? "" : " pal8 " + hexOf(texture.palette)) + "\n";
    }
    if (!texdict::writeBytes(folder / recordName,
                             {reinterpret_cast<const uint8_t*>(record.data()), record.size()}))
        return fail("cannot write " + utf8Path(folder / recordName));
    std::printf("%s: %zu textures\n", utf8Path(folder).c_str(), dictionary.textures.size());
    return 0;
}

int list(const fs::path& file) {
    texdict::Dictionary dictionary;
    std::string error;
    if (!texdict::readFile(file, dictionary, error)) return fail(error);
    for (const auto& texture : dictionary.textures)
        std::printf("%-31s %5d x %-5d %s\n", texture.name.c_str(), texture.width, texture.height,
                    texture.format.c_str());
    return 0;
}

Tally checkFile(const fs::path& file, const HudDictionaryNames* hud) {
    texdict::Dictionary dictionary;
    std::string error;
    if (!texdict::readFile(file, dictionary, error)) {
        std::printf("%s\n", error.c_str());
        return {1, 0};
    }
    if (hud)
        return printFindings(utf8Path(file), texdict::checkAgainstHud(dictionary, *hud), stdout);
    std::printf("%s: the HUD never loads a dictionary of this name; name it as the one it "
                "replaces: tarvel_iii.txd, ring_iii.txd, radio_iii.txd or phone_iii.txd\n",
                utf8Path(file).c_str());
    Tally tally = printFindings(utf8Path(file), texdict::checkForTheGame(dictionary), stdout);
    tally.problems += 1;
    return tally;
}

// The file in the folder that the game opens by this name: Windows ignores case in file names.
fs::path fileIgnoringCase(const fs::path& folder, const std::string& name) {
    std::error_code failure;
    for (const auto& entry : fs::directory_iterator(folder, failure))
        if (texdict::lowered(utf8Path(entry.path().filename())) == name) return entry.path();
    return {};
}

std::string counted(int count, const char* one, const char* more) {
    return std::to_string(count) + " " + (count == 1 ? one : more);
}

int check(const fs::path& target) {
    std::error_code failure;
    Tally total;
    int dictionaries = 1;
    if (fs::is_directory(target, failure)) {
        const fs::path folder = fs::is_directory(target / "tarvel_moravik", failure)
                                    ? target / "tarvel_moravik"
                                    : target;
        dictionaries = static_cast<int>(std::size(hudDictionaries));
        for (const auto& hud : hudDictionaries) {
            const std::string name = texdict::fileNameOf(hud);
            const fs::path file = fileIgnoringCase(folder, name);
            if (file.empty()) {
                std::printf("%s: missing: the HUD draws none of its pictures; put the release's "
                            "own there, or pack "
                            "your pictures into it\n",
                            utf8Path(folder / name).c_str());
                total.problems += 1;
                continue;
            }
            const Tally tally = checkFile(file, &hud);
            total.problems += tally.problems;
            total.notes += tally.notes;
        }
    } else if (fs::exists(target, failure)) {
        total = checkFile(target, texdict::hudDictionaryNamed(target));
    } else {
        return fail(utf8Path(target) + ": no such file or folder");
    }
    std::string summary = counted(total.problems, "problem", "problems");
    if (total.notes) summary += ", " + counted(total.notes, "note", "notes");
    std::printf("texdict check: %s in %s\n", summary.c_str(),
                counted(dictionaries, "dictionary", "dictionaries").c_str());
    return total.problems ? 1 : 0;
}

// The arguments in UTF-8.
int runCommand(const std::vector<std::string>& args) {
    if (args.size() == 3 && args[0] == "pack")
        return pack(pathFromUtf8(args[1]), pathFromUtf8(args[2]), texdict::PixelFormat::automatic);
    if (args.size() == 5 && args[0] == "pack" && args[1] == "--format") {
        const std::pair<const char*, texdict::PixelFormat> formats[] = {
            {"auto", texdict::PixelFormat::automatic},
            {"8888", texdict::PixelFormat::rgba8888},
            {"pal8", texdict::PixelFormat::palette8}};
        for (const auto& [name, format] : formats)
            if (args[2] == name) return pack(pathFromUtf8(args[3]), pathFromUtf8(args[4]), format);
        return fail("unknown format '" + args[2] + "': auto, 8888 or pal8");
    }
    if (args.size() == 3 && args[0] == "unpack")
        return unpack(pathFromUtf8(args[1]), pathFromUtf8(args[2]));
    if (args.size() == 2 && args[0] == "list") return list(pathFromUtf8(args[1]));
    if (args.size() == 2 && args[0] == "check") return check(pathFromUtf8(args[1]));
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "/?")) {
        printHelp();
        return 0;
    }
    std::fputs(usage, stderr);
    return 2;
}

// A folder entry that cannot be looked at, or a name that cannot be converted, ends the command
// with that reason rather than with a crash.
int run(const std::vector<std::string>& args) {
    try {
        return runCommand(args);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}

} // namespace

#ifdef _WIN32
// Wide arguments: the 8-bit ones hold '?' for every character outside the system code page.
// Messages are UTF-8, which a console shows as such while this runs.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(utf8Path(fs::path(argv[i])));
    static const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    std::atexit([] { SetConsoleOutputCP(consoleCodePage); });
    return run(args);
}
#else
int main(int argc, char** argv) {
    return run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
