#pragma once
// Message boxes from portable code. The Windows program routes them to MessageBoxA (MB_OK);
// elsewhere (host tests, tools) they go to stderr unless a test installs its own handler.
namespace nerith {

using MessageHandler = void (*)(const char* text, const char* caption);

// Shows `text` with `caption` through the installed handler.
void ShowMessage(const char* text, const char* caption);

// Installs a handler; returns the previous one. nullptr restores the default.
MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace nerith
