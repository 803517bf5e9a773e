#pragma once
#include "win/App.h"

// The application: refuses a second copy and creates the borderless main frame.
class AquariumApp : public win::App {
public:
    bool InitInstance() override;
    bool OnCommand(int id) override;

    // The registry key under HKEY_CURRENT_USER\Software that the application profile uses.
    const char* RegistryKey() const { return registryKey_; }

private:
    const char* registryKey_ = nullptr;
};
