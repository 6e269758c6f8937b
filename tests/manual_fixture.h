// The manual on the headless backend, started from a scratch program folder
// with the real music files and, when given, a clear file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <unistd.h>

#include "manual/form1.h"
#include "platform/headless.h"

namespace manualtest {

namespace fs = std::filesystem;

// The clear file as the game writes it.
inline const std::string kClearLine = "KOLTEV\n";

// A scratch program folder, removed at the end.
class Folder {
public:
    Folder() {
        static int serial = 0;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::path(::testing::TempDir()) /
                ("manual " + std::string(info ? info->name() : "run") + " " + std::to_string(getpid()) + " " + std::to_string(++serial));
        fs::remove_all(root_);
        fs::create_directories(root_ / "bg");
        for (const char* m : {"bg2.mid", "bg3.mid"})
            fs::copy_file(fs::path(SOURCE_DIR) / "bg" / m, root_ / "bg" / m, fs::copy_options::overwrite_existing);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    void WriteClearFile(const std::string& bytes) {
        fs::create_directories(root_ / "se");
        std::ofstream(root_ / "se" / "da.txt", std::ios::binary) << bytes;
    }
    const fs::path& root() const { return root_; }

private:
    fs::path root_;
};

// A manual run: folder, host and window. Start() runs the load and the first tick.
template <class FormT = manual::Form1>
struct ManualRun {
    explicit ManualRun(std::optional<std::string> clearFile = std::nullopt) {
        if (clearFile) folder.WriteClearFile(*clearFile);
        host = std::make_unique<plat::HeadlessHost>(folder.root().string());
        form = std::make_unique<FormT>(*host);
    }
    void Start() { Advance(10); }
    // Lets virtual time pass; true once the program has ended.
    bool Advance(uint32_t ms) {
        host->RunUntil(host->now() + ms);
        ended = form->Run();
        return ended;
    }
    // One key, handled at once.
    bool Press(int vk) {
        host->Key(vk);
        return Advance(0);
    }
    size_t Mark() const { return host->Log().lines.size(); }
    std::vector<std::string> LogSince(size_t mark) const {
        const auto& l = host->Log().lines;
        return {l.begin() + static_cast<std::ptrdiff_t>(std::min(mark, l.size())), l.end()};
    }
    std::string Path(const std::string& rel) const { return (folder.root() / rel).string(); }

    Folder folder;
    std::unique_ptr<plat::HeadlessHost> host;
    std::unique_ptr<FormT> form;
    bool ended = false;
};

// The sound-effect line the log shows for sound n.
template <class R>
std::string SoundLine(const R& r, int n) { return "snd: " + r.form->appPath + "se/se" + std::to_string(n); }

// Pixels of a rectangle of a surface, row by row.
inline std::vector<uint32_t> Region(const plat::Surface& s, int x, int y, int w, int h) {
    std::vector<uint32_t> out;
    out.reserve(static_cast<size_t>(w) * h);
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) out.push_back(s.PixelRGB(xx, yy));
    return out;
}

}  // namespace manualtest
