#pragma once
// preview --edit: the page and the layout editor's requests, served on 127.0.0.1 only, at a
// free port, to a browser that knows the token printed with the address. Windows only.
#include <functional>
#include <memory>
#include <string>

namespace preview {

class EditServer {
  public:
    // outFolder holds the page and its frames; dataFolder holds tarvel_moravik (both UTF-8).
    EditServer(const std::string& outFolder, const std::string& dataFolder);
    ~EditServer(); // stops serving
    EditServer(const EditServer&) = delete;
    EditServer& operator=(const EditServer&) = delete;

    // Starts serving; false, with error set, when no port or no random token could be had.
    bool start(std::string& error);
    // http://127.0.0.1:PORT/?token=TOKEN
    std::string address() const;

    // Called on the server's thread once for every request that wrote a settings file, after
    // its last write: the size of the frame the edit was made in, or 0 by 0 for none.
    using AfterWrite = std::function<void(int width, int height)>;
    void afterWrite(AfterWrite call); // before start

    struct Serving;

  private:
    std::unique_ptr<Serving> serving_;
};

} // namespace preview
