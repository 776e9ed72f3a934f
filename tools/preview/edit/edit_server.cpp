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
#include <cstdio>
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

// The files the server hands out, by the names the page asks for: the page, its data, and the
// frames the out folder holds now. Nothing else of a request's path reaches the file system.
std::string servedFile(const std::string& outFolder, const std::string& requested,
                       std::string& type) {
    if (requested == "/" || requested == "/index.html") {
        type = "text/html; charset=utf-8";
        return "index.html";
    }
    if (requested == "/preview-data.js") {
        type = "text/javascript; charset=utf-8";
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

// Each key with its value, what became of it and its line; the first key's also on the answer
// itself, as a single value's answer.
nlohmann::json answerOf(const EditAnswer& answer) {
    nlohmann::json json, keys = nlohmann::json::array();
    for (const KeyWritten& key : answer.keys)
        keys.push_back({{"key", key.key},
                        {"value", key.value},
                        {"outcome", std::string(describe(key.outcome))},
                        {"applied", answer.error.empty() && key.line > 0},
                        {"line", key.line}});
    if (!answer.keys.empty())
        for (const char* field : {"outcome", "applied", "line"})
            json[field] = keys[0][field];
    json["keys"] = keys;
    json["tookAnotherSave"] = answer.tookAnotherSave;
    if (answer.tookAnotherSave && answer.error.empty())
        json["note"] = "the file was saved in another editor since: its new text was taken and "
                       "the change made on top of it";
    if (!answer.error.empty()) json["error"] = answer.error;
    return json;
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

    // The token in the query, in a header, or in the cookie the page got with it.
    bool carriesToken(const httplib::Request& request) const {
        if (request.get_param_value("token") == token) return true;
        if (request.get_header_value("X-Tarvel-Token") == token) return true;
        const std::string cookie = "; " + request.get_header_value("Cookie") + ";";
        return cookie.find("; " + cookieName() + "=" + token + ";") != std::string::npos;
    }
    // Named by the port: browsers share cookies between a host's ports.
    std::string cookieName() const { return "tarvel_edit_" + std::to_string(port); }

    // Only this address by its own names: a page elsewhere cannot reach it through a name of
    // its own that resolves here.
    bool addressedHere(const httplib::Request& request) const {
        const std::string host = request.get_header_value("Host");
        const std::string at = ":" + std::to_string(port);
        return host == "127.0.0.1" + at || host == "localhost" + at;
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
        response.set_header("Cache-Control", "no-store");
        if (name == "index.html")
            response.set_header("Set-Cookie",
                                cookieName() + "=" + token + "; Path=/; HttpOnly; SameSite=Strict");
        response.set_content(bytes, type.c_str());
    }

    // Every change of a file, and every undo and redo, answers here once written or refused.
    void answer(httplib::Response& response, int status, const nlohmann::json& json) {
        response.status = status;
        response.set_content(json.dump(), "application/json");
    }
    void answer(httplib::Response& response, const EditAnswer& edit, int width = 0,
                int height = 0) {
        const nlohmann::json json = answerOf(edit);
        if (json.value("applied", false)) wrote(width, height);
        answer(response, edit.error.empty() ? 200 : edit.lineChangedElsewhere ? 409 : 500, json);
    }

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
        const std::string value =
            given.is_string() ? given.get<std::string>() : numberText(given.get<float>());
        // A number beyond a float's range has no text: it would empty the value.
        if (!given.is_string() && value.empty())
            return refuse(response, 400, "value: a number a float holds");
        answer(response, editor.set(file, json["key"].get<std::string>(), value));
    }

    // A place reads the values it maps and then writes: one at a time, or of two at once (a
    // held arrow key) the second would map the values the first replaces.
    std::mutex placing;

    // An element drawn in the box `from` of a frame of width by height, moved and sized to the
    // box `to` (both [left, top, right, bottom] in the frame's pixels): its keys that place or
    // size it, all in one save of the layout file.
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
        const std::lock_guard<std::mutex> one(placing);
        // The values the HUD takes now, the built-in one for a key the file lacks.
        HudSettings now;
        IniReader layout;
        layout.load(editor.layoutPath().c_str());
        readLayout(now, layout);
        const Placement placement = placeElement(now, keys, width, height, boxOf(json["from"]),
                                                 boxOf(json["to"]), drawnWithOf(json));
        if (!placement.error.empty()) return refuse(response, 400, placement.error);
        // Less than the keys can say: the file stays as it is, and no render follows.
        if (placement.values.empty())
            return answer(response, 200,
                          nlohmann::json{{"applied", false},
                                         {"note", "the element stays where its keys put it: "
                                                  "the change is less than they can say"}});
        answer(response, editor.set(SettingsFile::Layout, placement.values), width, height);
    }

    void undoOrRedo(httplib::Response& response, bool undo) {
        std::string why;
        const bool done = undo ? editor.undo(why) : editor.redo(why);
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
            if (s.addressedHere(request) && s.carriesToken(request))
                return httplib::Server::HandlerResponse::Unhandled;
            refuse(response, 403, "this address and its token only");
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
    s.server.Post("/undo", [&s](const httplib::Request&, httplib::Response& response) {
        s.undoOrRedo(response, true);
    });
    s.server.Post("/redo", [&s](const httplib::Request&, httplib::Response& response) {
        s.undoOrRedo(response, false);
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
