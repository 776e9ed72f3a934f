// cpp-httplib brings in winsock2.h, which must come before windows.h.
#include <httplib.h>

#include "tools/preview/edit/edit_server.h"

#include "tools/preview/edit/element_placement.h"
#include "tools/preview/edit/settings_edit.h"
#include "tools/preview/files/read_while_replaced.h"
#include "tools/preview/files/whole_files.h"

#include <nlohmann/json.hpp>

#include <bcrypt.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;

namespace preview {

namespace {

// A request body larger than any edit: the page sends one element's keys at most.
constexpr size_t largestBody = 64 * 1024;

// 128 bits of the system's random source, as hex; empty when it gives none.
std::string randomToken() {
    unsigned char bits[16];
    if (!BCRYPT_SUCCESS(
            BCryptGenRandom(nullptr, bits, sizeof bits, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        return {};
    std::string hex;
    for (const unsigned char bit : bits) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", bit);
        hex += pair;
    }
    return hex;
}

// The files the server hands out, by the names the page asks for: the page, its data as JSON,
// and the frames the out folder holds now. Nothing else of a request's path reaches the file
// system. The data is not served as the script a page beside the frames loads: a script is
// run by any page that includes it, whatever its origin.
std::string servedFile(const std::string& outFolder, const std::string& requested,
                       std::string& type) {
    if (requested == "/" || requested == "/index.html") {
        type = "text/html; charset=utf-8";
        return "index.html";
    }
    if (requested == "/preview-data.json") {
        type = "application/json";
        return "preview-data.js";
    }
    std::error_code unlisted;
    for (fs::directory_iterator it(pathOf(outFolder), unlisted), end; !unlisted && it != end;
         it.increment(unlisted)) {
        const std::string name = utf8Of(it->path().filename());
        if (it->path().extension() == ".png" && requested == "/" + name) {
            type = "image/png";
            return name;
        }
    }
    return {};
}

// The data's JSON inside the script previewData({...}); written beside the frames.
std::string dataOfScript(const std::string& script) {
    const size_t from = script.find('('), to = script.rfind(')');
    return from == std::string::npos || to == std::string::npos || to < from
               ? std::string()
               : script.substr(from + 1, to - from - 1);
}

// The same length and bytes, compared without stopping at the first difference: the time a
// wrong token takes tells nothing of how much of it was right.
bool sameSecret(const std::string& given, const std::string& secret) {
    unsigned char difference = given.size() == secret.size() ? 0 : 1;
    for (size_t i = 0; i < secret.size(); ++i)
        difference |= static_cast<unsigned char>(secret[i] ^ (i < given.size() ? given[i] : 0));
    return difference == 0 && !secret.empty();
}

// A page's id as it names itself: letters, digits and '-', at most 64 of them.
bool pageIdOk(const std::string& id) {
    return id.size() <= 64 && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                      c == '-';
           });
}

// Each key with its value, what became of it and its line; the first key's also on the answer
// itself, as a single value's answer. One message says what the whole change came to: why
// nothing was written, or what was written.
nlohmann::json answerOf(const EditAnswer& answer) {
    nlohmann::json json, keys = nlohmann::json::array();
    for (const KeyWritten& key : answer.keys)
        keys.push_back({{"key", key.key},
                        {"value", key.value},
                        {"outcome", answer.written     ? std::string(describe(key.outcome))
                                    : answer.unchanged ? std::string("unchanged")
                                                       : std::string("not written")},
                        {"applied", answer.written && key.line > 0},
                        {"line", key.line}});
    if (!answer.keys.empty())
        for (const char* field : {"outcome", "applied", "line"})
            json[field] = keys[0][field];
    json["applied"] = answer.written;
    json["keys"] = keys;
    json["tookAnotherSave"] = answer.tookAnotherSave;
    if (answer.unchanged)
        json["note"] = "the file holds these values already: nothing was written";
    else if (answer.tookAnotherSave && answer.error.empty())
        json["note"] = "the file was saved in another editor since: its new text was taken and "
                       "the change made on top of it";
    if (!answer.error.empty()) json["error"] = answer.error;
    return json;
}

// A JSON number as the text written for it, when a float (as the HUD reads it) holds it
// exactly as given; else empty, with why.
std::string exactNumberText(const nlohmann::json& given, std::string& why) {
    const double asked = given.get<double>();
    const std::string text = numberText(static_cast<float>(asked));
    if (!text.empty() && std::strtod(text.c_str(), nullptr) == asked) return text;
    why = "value: " + given.dump() + " is not a number the HUD holds exactly" +
          (text.empty() ? std::string(": it is past a float's range") : ": it would read " + text);
    return {};
}

bool numbers(const nlohmann::json& json, const char* name, size_t count) {
    if (!json.contains(name) || !json[name].is_array() || json[name].size() != count) return false;
    return std::all_of(json[name].begin(), json[name].end(),
                       [](const nlohmann::json& n) { return n.is_number(); });
}

PixelBox boxOf(const nlohmann::json& edges) {
    return {edges[0].get<float>(), edges[1].get<float>(), edges[2].get<float>(),
            edges[3].get<float>()};
}

// The stamp near the start of the page's data, as text; empty when there is none.
std::string stampOf(const std::string& script) {
    const std::string label = "\"stamp\": ";
    const size_t at = script.find(label);
    if (at == std::string::npos) return {};
    const size_t from = at + label.size();
    return script.substr(from, script.find_first_not_of("-0123456789", from) - from);
}

// What else the frame the page measured the box in draws, as the page tells it.
DrawnWith drawnWithOf(const nlohmann::json& json) {
    DrawnWith drawn;
    if (!json.contains("drawn") || !json["drawn"].is_object()) return drawn;
    const nlohmann::json& told = json["drawn"];
    const auto flag = [&](const char* name, bool& value) {
        if (told.contains(name) && told[name].is_boolean()) value = told[name].get<bool>();
    };
    flag("wanted", drawn.wanted);
    flag("money", drawn.money);
    flag("missionTimers", drawn.missionTimers);
    return drawn;
}

void refuse(httplib::Response& response, int status, const std::string& why) {
    response.status = status;
    response.set_content(nlohmann::json{{"error", why}}.dump(), "application/json");
}

} // namespace

struct EditServer::Serving {
    std::string out;
    SettingsEditor editor;
    httplib::Server server;
    std::string token;
    int port = 0;
    std::thread thread;
    EditServer::AfterWrite afterWrite;

    Serving(const std::string& outFolder, const std::string& dataFolder)
        : out(outFolder), editor(dataFolder) {}

    // The token in the page's header, or in the query of the page's own address and of its
    // frames' addresses. No cookie: a browser sends cookies with requests of any page whose
    // address is this host at another port.
    bool carriesToken(const httplib::Request& request) const {
        return sameSecret(request.get_header_value("X-Tarvel-Token"), token) ||
               sameSecret(request.get_param_value("token"), token);
    }

    // Only this address by its own names: a page elsewhere cannot reach it through a name of
    // its own that resolves here.
    bool addressedHere(const httplib::Request& request) const {
        const std::string host = request.get_header_value("Host");
        const std::string at = ":" + std::to_string(port);
        return host == "127.0.0.1" + at || host == "localhost" + at;
    }
    // A request a page sent says where the page came from: only the editor's own page may ask.
    bool fromHereOrNoPage(const httplib::Request& request) const {
        if (!request.has_header("Origin")) return true;
        const std::string origin = request.get_header_value("Origin");
        const std::string at = ":" + std::to_string(port);
        return origin == "http://127.0.0.1" + at || origin == "http://localhost" + at;
    }
    // A form or a no-cors request of another page can send only text, forms and files.
    static bool sentAsJson(const httplib::Request& request) {
        std::string type = request.get_header_value("Content-Type");
        type = type.substr(0, type.find(';'));
        type.erase(std::remove(type.begin(), type.end(), ' '), type.end());
        std::transform(type.begin(), type.end(), type.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return type == "application/json";
    }
    // Why the request is not served, or empty.
    std::string whyRefused(const httplib::Request& request) const {
        if (!addressedHere(request) || !carriesToken(request))
            return "this address and its token only";
        if (!fromHereOrNoPage(request)) return "the editor's own page only";
        if (request.method == "POST" && !sentAsJson(request))
            return "a change is sent as application/json";
        if (!pageIdOk(request.get_header_value("X-Tarvel-Page")))
            return "X-Tarvel-Page: letters, digits and '-', at most 64";
        return {};
    }

    // Every request that wrote calls this once, after its last write: with the frame's size
    // when the change was made in one, else 0 by 0.
    void wrote(int width, int height) const {
        if (afterWrite) afterWrite(width, height);
    }

    // The page served here asks for its data often, with the stamp it shows: while the data
    // holds the same, a few bytes say so.
    bool stillShown(const std::string& shownStamp) const {
        std::string start;
        return readWhileReplaced(utf8Of(pathOf(out) / "preview-data.js"), start, 256) &&
               stampOf(start) == shownStamp;
    }

    void serveFile(const httplib::Request& request, httplib::Response& response) const {
        std::string type, bytes;
        const std::string name = servedFile(out, request.path, type);
        if (name == "preview-data.js" && request.has_param("after") &&
            stillShown(request.get_param_value("after"))) {
            response.status = 204;
            response.set_header("Cache-Control", "no-store");
            return;
        }
        if (name.empty() || !readWhileReplaced(utf8Of(pathOf(out) / pathOf(name)), bytes)) {
            refuse(response, 404, "no such file");
            return;
        }
        if (name == "preview-data.js") bytes = dataOfScript(bytes);
        response.set_header("Cache-Control", "no-store");
        response.set_content(bytes, type.c_str());
    }

    // Every change of a file, and every undo and redo, answers here once written or refused.
    void answer(httplib::Response& response, int status, const nlohmann::json& json) {
        response.status = status;
        response.set_content(json.dump(), "application/json");
    }
    void answer(httplib::Response& response, const EditAnswer& edit, int width = 0,
                int height = 0) {
        if (edit.written) wrote(width, height);
        const int status = edit.error.empty()          ? 200
                           : edit.refused              ? 400
                           : edit.lineChangedElsewhere ? 409
                                                       : 500;
        answer(response, status, answerOf(edit));
    }

    static std::string pageOf(const httplib::Request& request) {
        return request.get_header_value("X-Tarvel-Page");
    }

    // A value typed or picked in the page: only a key the HUD reads from that file, with a
    // value it takes as written.
    void set(const httplib::Request& request, httplib::Response& response) {
        const nlohmann::json json = nlohmann::json::parse(request.body, nullptr, false);
        SettingsFile file{};
        if (!json.is_object() || !json.contains("file") || !json["file"].is_string() ||
            !settingsFileNamed(json["file"].get<std::string>(), file))
            return refuse(response, 400, "file: one of layout, IIIColors, VColors");
        if (!json.contains("key") || !json["key"].is_string())
            return refuse(response, 400, "key: the setting's name");
        if (!json.contains("value") || !(json["value"].is_string() || json["value"].is_number()))
            return refuse(response, 400, "value: a text or a number");
        const nlohmann::json& given = json["value"];
        std::string why;
        const std::string value =
            given.is_string() ? given.get<std::string>() : exactNumberText(given, why);
        if (!why.empty()) return refuse(response, 400, why);
        answer(response,
               editor.set(file, pageOf(request), {{json["key"].get<std::string>(), value}}, true));
    }

    // The keys given (or every key) of a file set to the values the project ships them with,
    // in one change.
    void reset(const httplib::Request& request, httplib::Response& response) {
        const nlohmann::json json = nlohmann::json::parse(request.body, nullptr, false);
        SettingsFile file{};
        if (!json.is_object() || !json.contains("file") || !json["file"].is_string() ||
            !settingsFileNamed(json["file"].get<std::string>(), file))
            return refuse(response, 400, "file: one of layout, IIIColors, VColors");
        const bool all = json.value("all", false) == true;
        if (!all && (!json.contains("keys") || !json["keys"].is_array()))
            return refuse(response, 400, "keys: the keys to reset, or all: true");
        std::vector<KeyValue> values;
        if (all) values = shippedValues(file);
        for (const nlohmann::json& key : all ? nlohmann::json::array() : json["keys"]) {
            std::string value;
            if (key.is_string() && shippedValue(file, key.get<std::string>(), value))
                values.push_back({key.get<std::string>(), value});
        }
        if (values.empty())
            return refuse(response, 400, "the shipped file sets none of these keys");
        answer(response, editor.set(file, pageOf(request), values));
    }

    // An element drawn in the box `from` of a frame of width by height, moved and sized to the
    // box `to` (both [left, top, right, bottom] in the frame's pixels): its keys that place or
    // size it, all in one save of the layout file. The values are mapped from the file as the
    // change reads it, under the lock of every change: of two places at once (a held arrow
    // key) the second maps the values the first wrote.
    void place(const httplib::Request& request, httplib::Response& response) {
        const nlohmann::json json = nlohmann::json::parse(request.body, nullptr, false);
        if (!json.is_object() || !json.contains("width") || !json["width"].is_number() ||
            !json.contains("height") || !json["height"].is_number() || !numbers(json, "from", 4) ||
            !numbers(json, "to", 4) || !json.contains("keys") || !json["keys"].is_array())
            return refuse(response, 400,
                          "width, height: numbers; from, to: [left, top, right, bottom]; keys: "
                          "the element's");
        const int width = json["width"].get<int>(), height = json["height"].get<int>();
        if (width <= 0 || height <= 0) return refuse(response, 400, "a frame of no size");
        std::vector<std::string> keys;
        for (const nlohmann::json& key : json["keys"])
            if (key.is_string()) keys.push_back(key.get<std::string>());
        const PixelBox from = boxOf(json["from"]), to = boxOf(json["to"]);
        const auto drawnWith = drawnWithOf(json);
        const EditAnswer edit = editor.change(
            SettingsFile::Layout, pageOf(request),
            [&](const std::string& bytes, std::vector<KeyValue>& values, std::string& why) {
                // The values the HUD takes now, the built-in one for a key the file lacks.
                IniReader layout;
                layout.parse(bytes.data(), bytes.size());
                HudSettings now;
                readLayout(now, layout);
                Placement placement = placeElement(now, keys, width, height, from, to, drawnWith);
                why = placement.error;
                values = std::move(placement.values);
                return why.empty();
            });
        // Less than the keys can say: the file stays as it is, and no render follows.
        if (edit.error.empty() && edit.keys.empty())
            return answer(response, 200,
                          nlohmann::json{{"applied", false},
                                         {"note", "the element stays where its keys put it: "
                                                  "the change is less than they can say"}});
        answer(response, edit, width, height);
    }

    void undoOrRedo(const httplib::Request& request, httplib::Response& response, bool undo) {
        std::string why;
        const std::string page = pageOf(request);
        const bool done = undo ? editor.undo(page, why) : editor.redo(page, why);
        if (done) wrote(0, 0);
        answer(response, done ? 200 : 409,
               done ? nlohmann::json{{"done", true}} : nlohmann::json{{"error", why}});
    }
};

EditServer::EditServer(const std::string& outFolder, const std::string& dataFolder)
    : serving_(std::make_unique<Serving>(outFolder, dataFolder)) {}

EditServer::~EditServer() {
    if (!serving_->thread.joinable()) return;
    serving_->server.stop();
    serving_->thread.join();
}

bool EditServer::start(std::string& error) {
    Serving& s = *serving_;
    s.token = randomToken();
    if (s.token.empty()) {
        error = "the system gave no random numbers for the editor's token";
        return false;
    }
    s.server.set_payload_max_length(largestBody);
    s.server.set_pre_routing_handler(
        [&s](const httplib::Request& request, httplib::Response& response) {
            const std::string why = s.whyRefused(request);
            if (why.empty()) return httplib::Server::HandlerResponse::Unhandled;
            refuse(response, 403, why);
            return httplib::Server::HandlerResponse::Handled;
        });
    s.server.Get(R"(/[^/]*)", [&s](const httplib::Request& request, httplib::Response& response) {
        s.serveFile(request, response);
    });
    s.server.Post("/set", [&s](const httplib::Request& request, httplib::Response& response) {
        s.set(request, response);
    });
    s.server.Post("/place", [&s](const httplib::Request& request, httplib::Response& response) {
        s.place(request, response);
    });
    s.server.Post("/reset", [&s](const httplib::Request& request, httplib::Response& response) {
        s.reset(request, response);
    });
    s.server.Post("/undo", [&s](const httplib::Request& request, httplib::Response& response) {
        s.undoOrRedo(request, response, true);
    });
    s.server.Post("/redo", [&s](const httplib::Request& request, httplib::Response& response) {
        s.undoOrRedo(request, response, false);
    });
    s.port = s.server.bind_to_any_port("127.0.0.1");
    if (s.port <= 0) {
        error = "no free port on 127.0.0.1 for the editor";
        return false;
    }
    s.thread = std::thread([&s] { s.server.listen_after_bind(); });
    return true;
}

void EditServer::afterWrite(AfterWrite call) {
    serving_->afterWrite = std::move(call);
}

std::string EditServer::address() const {
    return "http://127.0.0.1:" + std::to_string(serving_->port) + "/?token=" + serving_->token;
}

} // namespace preview
