#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/storage_host.h"
#include "profiles/file_profile.h"

using namespace tavoe;

// A storage host whose answer to Escape a test decides; installed in the instance before any buffer
// is made, since buffers keep the host they were made with.
class ScriptedStorageHost : public StorageHost {
public:
    using StorageHost::StorageHost;

    static ScriptedStorageHost& Install(AppSession& app) {
        auto host = std::make_unique<ScriptedStorageHost>(app);
        ScriptedStorageHost& installed = *host;
        app.storageHost = std::move(host);
        return installed;
    }

    bool EscapePressed() override { return escape && escape(); }
    void RunExitMacro(EditBuffer& buffer, const std::string& macroName) override {
        if (exitMacro) {
            exitMacro(buffer, macroName);
        }
    }

    void RecordLengthRaised(EditBuffer&, const FileProfile& profile) override {
        raisedLengths.push_back(profile.maxRecordLength);
    }

    bool ConfirmSave(std::string_view question) override {
        questions.emplace_back(question);
        return confirmSave;
    }

    std::function<bool()> escape;
    bool confirmSave = false;
    std::vector<std::string> questions;  // what ConfirmSave was asked
    std::function<void(EditBuffer&, const std::string&)> exitMacro;
    std::vector<int> raisedLengths;  // the new maximum record length of each raise
};
