// TrCodePageNative.cpp - lead-byte tables for the native build: none, or
// those of code page 932.
#include "base/TrCodePage.h"
#include "data/native/TrNativeCodePage.h"

#include <cstdlib>

namespace tr {
namespace {

struct Tables {
    bool none[256] = {};
    bool cp932[256] = {};
    Tables() {
        for (int c = 0x81; c <= 0x9F; ++c) cp932[c] = true;
        for (int c = 0xE0; c <= 0xFC; ++c) cp932[c] = true;
    }
};

const Tables& AllTables() {
    static const Tables tables;
    return tables;
}

int& Current() {
    static int codePage = [] {
        const char* env = std::getenv("TR_CODEPAGE");
        return env ? std::atoi(env) : 1252;
    }();
    return codePage;
}

}  // namespace

const bool* LeadByteTable() { return Current() == 932 ? AllTables().cp932 : AllTables().none; }

namespace native {

void SelectCodePage(int codePage) { Current() = codePage; }
int SelectedCodePage() { return Current(); }

}  // namespace native
}  // namespace tr
