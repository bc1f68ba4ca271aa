#pragma once

#include <string>
#include <string_view>

#include "core/message.h"

namespace tavoe {

// What file storage needs of the running instance, and nothing more: messages, the settings it reads
// (ZEDITWRITELOCK, ZMAXRECLEN, ZBACKUP, ...), the file-name variables it sets, the character-set
// state kept for the run, the progress of long loads with Escape, the exit macro run before a save,
// and what follows when a load raises the profile's record length.
//
// The base class serves an instance without a window system: no Escape, no exit macro, and a raised
// record length that stays in memory. The shell's host (ConnectInstance) shows progress in the main
// window, answers Escape, runs exit macros and writes the raised profile.

struct AppSession;
struct CharsetState;
struct EditBuffer;
struct FileProfile;

class StorageHost : public Reporter {
public:
    explicit StorageHost(AppSession& app) : app_(app) {}

    // Messages go to the instance.
    void Report(std::string_view text, MsgTo to, Beep beep) override;

    // A setting's value ("" when unset), whether it is exactly "TRUE", and storing one.
    std::string Setting(std::string_view name);
    bool SettingIsTrue(std::string_view name);
    void SetSetting(std::string_view name, std::string_view value);

    // The substitution characters kept for the run.
    CharsetState& Charset();

    // Between batches of a long load: the status text to show (empty: the load is over), and whether
    // Escape is pending, asked without waiting. Base: the text is kept in app.statusText; never.
    virtual void ShowLoadStatus(std::string_view text);
    virtual bool EscapePressed();
    // Runs the file's exit macro before it is saved. Base: nothing runs.
    virtual void RunExitMacro(EditBuffer& buffer, const std::string& macroName);
    // A load raised the profile's maximum record length (AutoIncreaseRecLen); the new length has been
    // reported. Base: the profile keeps it in memory only.
    virtual void RecordLengthRaised(EditBuffer& buffer, const FileProfile& profile);
    // A save that would write the file differently from how it was read (records split or cut at
    // load) asks first; true goes ahead. Base: no one to ask, so no.
    virtual bool ConfirmSave(std::string_view question);

protected:
    AppSession& app_;
};

// The instance's storage host: the one installed, or a base host made on first use.
StorageHost& Storage(AppSession& app);

}  // namespace tavoe
