// Fuzzer of one data-file database, chosen by TR_FUZZ_DB (CTrNumeralKeyDB,
// CTrStringKeyDB, CTrJogDataDB or CTrRefuseDB): any bytes in, as a file of
// the in-memory table under code page 932; Load, walk, Write, Load again.
#include "TrCommonClasses.h"
#include "data/native/TrMemoryFiles.h"
#include "data/native/TrNativeCodePage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace {

const std::string kInput = "C:\\fuzz\\input.dat", kScratch = "C:\\fuzz\\scratch.dat";

void Check(bool ok, const char* what) {
    if (!ok) std::fprintf(stderr, "fuzz invariant broken: %s\n", what), std::abort();
}

template <class Db>
std::string Rewrite(Db& db) {
    std::string bytes;
    ::SetLastError(0xdeadbeef);
    Check(db.Write(kScratch) == 1 && ::GetLastError() == ERROR_SUCCESS && tr::memfiles::Get(kScratch, bytes),
          "write");
    return bytes;
}

template <class Db>
void FuzzOne(const std::string& bytes) {
    constexpr bool kJog = std::is_same_v<Db, CTrJogDataDB>;
    Db db;
    if constexpr (std::is_same_v<Db, CTrRefuseDB>) {
        // The first line is the text to check, the rest the refuse list.
        const std::size_t split = bytes.find('\n');
        tr::memfiles::Put(kInput, split == std::string::npos ? std::string() : bytes.substr(split + 1));
        int open = -1;
        Check(db.IsInDB(bytes.substr(0, split), kInput, open) <= 1 && open == 0, "result");
    } else {
        tr::memfiles::Put(kInput, bytes);
        const int loaded = db.Load(kInput);
        Check(loaded == 0 || loaded == 2 || loaded == 5 || loaded == 6, "load result");
        int walked = 0;
        // A jog folder whose description holds "Path:" reads back as an
        // application without its lines, as the format has it.
        bool ambiguous = false;
        for (auto* r = db.Read(1); r; r = db.Read(0), ++walked)
            ambiguous |= kJog && r->GetPath().empty() && r->GetDescription().find("Path:") != std::string::npos;
        if constexpr (kJog) Check(walked == db.GetAllNumber(), "count");
        else Check(walked == db.GetDataNumber(), "count");
        const std::string first = Rewrite(db);
        Db again;
        const int reloaded = again.Load(kScratch);
        Check(reloaded == 0 || reloaded == 2 || reloaded == 6, "reload result");
        // Single-byte texts come back exactly, so the rewrite of the rewrite
        // is the same. (With double-byte bytes a label cut may shift the
        // character boundaries, which the format allows.)
        bool ascii = true;
        for (unsigned char c : bytes) ascii &= c < 0x80;
        if (loaded == 0 && ascii && !ambiguous) Check(reloaded == 0 && Rewrite(again) == first, "rewrite differs");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tr::memfiles::Reset();
    tr::native::SelectCodePage(932);
    FuzzOne<TR_FUZZ_DB>(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
