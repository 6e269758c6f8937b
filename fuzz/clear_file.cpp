// Fuzzes the manual's reading of the clear file: each input is written as
// se/da.txt into a scratch program folder and the manual's start-up decides
// whether the epilogue opens. Beyond "no crash" it checks that
//   - the decision agrees with a plain restatement of the first-field rule,
//     applied to the first 4096 bytes only;
//   - the same bytes followed by a long tail decide as the rule says for a
//     file that goes on past what is read (the tail is never looked at);
//   - the program takes at most 4096 bytes of the file from the system, and
//     keeps no more than that as the field.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "manual/form1.h"
#include "platform/headless.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kLimit = 4096;

// The rule for the first field of the first line, written as the shapes of a
// file that opens the epilogue rather than as a reader: after any spaces or
// tabs, either the six letters and then a comma, a line end or the end of the
// file, or the six letters in double quotes (a missing closing quote runs to
// the end of the file). `whole`: the bytes seen are the whole file, so their
// end is the file's end.
bool Opens(const std::string& seen, bool whole) {
    const std::string marker = "KOLTEV";
    size_t p = seen.find_first_not_of(" \t");
    if (p == std::string::npos) return false;
    const bool quoted = seen[p] == '"';
    if (quoted) ++p;
    if (seen.compare(p, marker.size(), marker) != 0) return false;
    p += marker.size();
    if (p == seen.size()) return whole;
    return quoted ? seen[p] == '"' : (seen[p] == ',' || seen[p] == '\r' || seen[p] == '\n');
}

// Bytes this process has read from files so far, before this call; `own`
// gets what this call itself reads, which the next call will count.
long long BytesRead(long long* own = nullptr) {
    const int fd = open("/proc/self/io", O_RDONLY);
    if (fd < 0) return -1;
    char buf[512];
    const ssize_t got = read(fd, buf, sizeof buf - 1);
    close(fd);
    if (got <= 0) return -1;
    buf[got] = '\0';
    if (own) *own = got;
    const char* r = std::strstr(buf, "rchar: ");
    return r ? std::atoll(r + 7) : -1;
}

struct Setup {
    Setup() {
        // Each input is written to disk twice: in memory when there is room.
        char shm[] = "/dev/shm/fuzz-clear-file-XXXXXX", tmp[] = "/tmp/fuzz-clear-file-XXXXXX";
        char* tmpl = mkdtemp(shm) ? shm : mkdtemp(tmp);
        if (!tmpl) std::abort();
        folder = tmpl;
        fs::create_directories(folder / "se");
        clearFile = folder / "se" / "da.txt";
        host = std::make_unique<plat::HeadlessHost>(folder.string());
        form = std::make_unique<manual::Form1>(*host);
    }
    ~Setup() {
        form.reset();
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    fs::path folder, clearFile;
    std::unique_ptr<plat::HeadlessHost> host;
    std::unique_ptr<manual::Form1> form;
};

Setup& S() {
    static Setup s;
    return s;
}

void Fail(const char* what, const std::string& file, long long got = -1) {
    std::fprintf(stderr, "%s (file of %zu bytes", what, file.size());
    if (got >= 0) std::fprintf(stderr, ", %lld bytes read", got);
    std::fprintf(stderr, ")\n");
    std::abort();
}

// Writes the clear file, runs the start-up's reading, and checks the outcome.
void Check(const std::string& file) {
    Setup& s = S();
    {
        std::ofstream out(s.clearFile, std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
        if (!out) std::abort();
    }
    s.form->ClearText.clear();
    s.form->GameCleared = 0;
    long long counterCost = 0;
    const long long before = BytesRead(&counterCost);
    s.form->HenSyoki();
    const long long after = BytesRead();

    const bool whole = file.size() <= kLimit;
    const bool expected = Opens(file.substr(0, kLimit), whole);
    if ((s.form->GameCleared == 1) != expected)
        Fail(expected ? "the marker as first field did not open the epilogue"
                      : "the epilogue opened without the marker as first field",
             file);
    if (expected && s.form->ClearText != "KOLTEV") Fail("the field read is not the marker", file);
    if (s.form->ClearText.size() > kLimit) Fail("the field kept is longer than what may be read", file);
    const long long got = after - before - counterCost;
    if (before >= 0 && after >= 0 && got > static_cast<long long>(kLimit))
        Fail("more than 4096 bytes of the clear file were read", file, got);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    Check(file);
    // The same start followed by more than can be read: only the first 4096
    // bytes may decide.
    if (size <= kLimit) {
        std::string longer = file;
        longer.resize(kLimit + 1 + size % 7, size ? file[size - 1] : 'x');
        longer += "\nKOLTEV\n";
        Check(longer);
    }
    return 0;
}
