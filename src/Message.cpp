#include "Message.h"

#include <cstdio>

namespace nerith {
namespace {

void toStderr(const char* text, const char* caption) {
    std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
}

MessageHandler current = toStderr;

}  // namespace

void ShowMessage(const char* text, const char* caption) { current(text, caption); }

MessageHandler SetMessageHandler(MessageHandler handler) {
    MessageHandler previous = current;
    current = handler ? handler : toStderr;
    return previous;
}

}  // namespace nerith
