// cpp-httplib brings in winsock2.h, which must come before windows.h.
#include <httplib.h>

#include "tools/preview/edit/edit_server.h"

#include "tools/preview/check/position_keys.h"
#include "tools/preview/edit/settings_edit.h"
#include "tools/preview/files/whole_files.h"

#include <nlohmann/json.hpp>

#include <bcrypt.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace preview {

namespace {

// A request body larger than any edit: the page sends one key and one value at a time.
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

nlohmann::json answerOf(const EditAnswer& answer) {
    nlohmann::json json;
    json["outcome"] = std::string(describe(answer.outcome));
    json["applied"] = answer.error.empty() && answer.line > 0;
    json["line"] = answer.line;
    json["tookAnotherSave"] = answer.tookAnotherSave;
    if (answer.tookAnotherSave)
        json["note"] = "the file was saved in another editor since: its new text was taken and "
                       "the change made on top of it";
    if (!answer.error.empty()) json["error"] = answer.error;
    return json;
}

// Read as the render writes: a file opened here must not keep the next one from being swapped
// in, which a plain open would while it lasts.
bool readLettingItBeReplaced(const std::string& path, std::string& bytes, DWORD limit) {
    bytes.clear();
    const HANDLE file = CreateFileW(pathOf(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char block[1 << 16];
    DWORD got = 0;
    bool read = true;
    while (bytes.size() < limit &&
           (read = ReadFile(file, block, std::min<DWORD>(sizeof block, limit - DWORD(bytes.size())),
                            &got, nullptr)) &&
           got > 0)
        bytes.append(block, got);
    CloseHandle(file);
    return read;
}

// The stamp near the start of the page's data, as text; empty when there is none.
std::string stampOf(const std::string& script) {
    const std::string label = "\"stamp\": ";
    const size_t at = script.find(label);
    if (at == std::string::npos) return {};
    const size_t from = at + label.size();
    return script.substr(from, script.find_first_not_of("-0123456789", from) - from);
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

    // Every request that wrote calls this once, after its last write.
    void wrote(int width, int height) const {
        if (afterWrite) afterWrite(width, height);
    }

    // The page served here asks for its data often, with the stamp it shows: while the data
    // holds the same, a few bytes say so.
    bool stillShown(const std::string& shownStamp) const {
        std::string start;
        return readLettingItBeReplaced(utf8Of(pathOf(out) / "preview-data.js"), start, 256) &&
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
        if (name.empty() ||
            !readLettingItBeReplaced(utf8Of(pathOf(out) / pathOf(name)), bytes, 1u << 30)) {
            refuse(response, 404, "no such file");
            return;
        }
        response.set_header("Cache-Control", "no-store");
        if (name == "index.html")
            response.set_header("Set-Cookie",
                                cookieName() + "=" + token + "; Path=/; HttpOnly; SameSite=Strict");
        response.set_content(bytes, type.c_str());
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
        const EditAnswer answer = editor.set(file, json["key"].get<std::string>(), value);
        if (answer.error.empty() && answer.line > 0) wrote(0, 0);
        response.status = answer.error.empty() ? 200 : 500;
        response.set_content(answerOf(answer).dump(), "application/json");
    }

    // An element dragged by (dx, dy) pixels in a frame of width by height: each key of the
    // element's that positions it along an axis, the first for each, takes the value that puts
    // it there, in the HUD's units for that key.
    void move(const httplib::Request& request, httplib::Response& response) {
        const nlohmann::json json = nlohmann::json::parse(request.body, nullptr, false);
        const auto number = [&](const char* name) {
            return json.is_object() && json.contains(name) && json[name].is_number();
        };
        if (!number("width") || !number("height") || !number("dx") || !number("dy") ||
            !json.contains("keys") || !json["keys"].is_array())
            return refuse(response, 400, "width, height, dx, dy: numbers; keys: the element's");
        const int width = json["width"].get<int>(), height = json["height"].get<int>();
        if (width <= 0 || height <= 0) return refuse(response, 400, "a frame of no size");
        nlohmann::json moved = nlohmann::json::array();
        bool across = false, down = false, failed = false, applied = false;
        for (const nlohmann::json& key : json["keys"]) {
            const PositionKey* position =
                key.is_string() ? positionKey(key.get<std::string>()) : nullptr;
            if (!position || (position->across ? across : down)) continue;
            (position->across ? across : down) = true;
            float value = 0;
            if (!editor.numberOf(SettingsFile::Layout, position->key, value)) continue;
            const std::string text = numberText(movedValue(
                *position, value, json["dx"].get<float>(), json["dy"].get<float>(), width, height));
            nlohmann::json answer = answerOf(editor.set(SettingsFile::Layout, position->key, text));
            answer["key"] = position->key;
            answer["value"] = text;
            failed = failed || answer.contains("error");
            applied = applied || answer["applied"].get<bool>();
            moved.push_back(answer);
        }
        if (applied) wrote(width, height);
        response.status = failed ? 500 : 200;
        response.set_content(nlohmann::json{{"moved", moved}}.dump(), "application/json");
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
    s.server.Post("/move", [&s](const httplib::Request& request, httplib::Response& response) {
        s.move(request, response);
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
