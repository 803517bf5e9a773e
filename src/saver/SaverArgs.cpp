#include "saver/SaverArgs.h"

#include <cctype>
#include <vector>

namespace saver {
namespace {

RunMode currentMode = RunMode::Plain;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::vector<std::string> Words(const char* text) {
    std::vector<std::string> words;
    std::string word;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (IsBlank(*p)) {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += *p;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// A window handle in decimal. Handles are 32-bit values, and a caller that formats them as a
// signed number passes a leading minus: that one is sign-extended as the handle would be.
// Anything else (no digits, other characters, beyond 32 bits) gives 0.
std::uintptr_t ParseWindow(const std::string& text) {
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) i = 1;
    if (i == text.size()) return 0;
    unsigned long long value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return 0;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > 0xFFFFFFFFull) return 0;
    }
    if (negative) {
        if (value > 0x80000000ull) return 0;
        return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(-static_cast<long long>(value)));
    }
    return static_cast<std::uintptr_t>(value);
}

}  // namespace

Args ParseArgs(const char* commandLine, bool startedAsScr) {
    Args args;
    args.commandLine = commandLine ? commandLine : "";
    const std::vector<std::string> words = Words(commandLine);
    if (words.empty()) {
        args.mode = startedAsScr ? RunMode::Configure : RunMode::Plain;
        return args;
    }
    args.mode = RunMode::Unknown;
    const std::string& first = words[0];
    if (first.size() < 2 || (first[0] != '/' && first[0] != '-')) return args;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(first[1])));
    const std::string rest = first.substr(2);
    if (!rest.empty() && rest[0] != ':') return args;  // "/save", "/s1": not ours

    // The window: after a colon in the same word, or the next word.
    std::string window;
    size_t used = 1;
    if (!rest.empty()) {
        window = rest.substr(1);
    } else if (words.size() > 1 && letter != 's') {
        window = words[1];
        used = 2;
    }
    if (used != words.size()) return args;  // something left over

    switch (letter) {
    case 's':
        if (rest.empty()) args.mode = RunMode::Saver;
        break;
    case 'p':
        args.mode = RunMode::Preview;
        args.window = ParseWindow(window);
        break;
    case 'c':
        args.mode = RunMode::Configure;
        args.window = ParseWindow(window);
        break;
    default:
        break;
    }
    return args;
}

bool IsScrPath(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".scr";
}

const char* UsageText() {
    return "NerithScr accepts:\r\n\r\n"
           "/s  -  the screen saver\r\n"
           "/p HWND  -  the preview inside window HWND\r\n"
           "/c  or  /c:HWND  -  the Aquarium Settings\r\n"
           "nothing  -  the desktop aquarium (NerithScr.exe)\r\n"
           "                 or the Aquarium Settings (NerithScr.scr)\r\n\r\n"
           "\"-\" may stand for \"/\", and \"/p:HWND\" for \"/p HWND\".";
}

RunMode CurrentMode() { return currentMode; }

void SetCurrentMode(RunMode mode) { currentMode = mode; }

}  // namespace saver
