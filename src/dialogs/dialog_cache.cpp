#include "dialogs/dialog_cache.h"

#include <algorithm>
#include <memory>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"
#include "dialogs/dialog_parser.h"
#include "platform/ascii_case.h"

namespace tavoe {

namespace {}  // namespace

void DialogCacheDeleter::operator()(DialogCache* cache) const {
    std::default_delete<DialogCache>()(cache);
}

DialogCache& SessionDialogCache(AppSession& app) {
    if (!app.dialogCache) {
        app.dialogCache.reset(std::make_unique<DialogCache>().release());
    }
    return *app.dialogCache;
}

DialogDefinition* AddToDialogCache(AppSession& app, std::unique_ptr<DialogDefinition> def) {
    DialogCache& cache = SessionDialogCache(app);
    cache.definitions.push_back(std::move(def));
    return cache.definitions.back().get();
}

DialogDefinition* FindCachedDialog(AppSession& app, std::string_view name) {
    if (!app.dialogCache) {
        return nullptr;
    }
    std::string key = UpperAscii(name);
    for (auto& def : app.dialogCache->definitions) {
        if (def->name == key) {
            return def.get();
        }
    }
    return nullptr;
}

DialogDefinition* PrepareDialog(AppSession& app, std::string_view name, const DialogScreen& screen) {
    DialogCache& cache = SessionDialogCache(app);
    bool legacy = VarGetValue(app, "ZMENUSTYLE") == "Legacy Tavo";
    DialogDefinition* def = FindCachedDialog(app, name);
    if (def != nullptr && def->tmpl.built && VarGetValue(app, "ZCACHE.DIALOGS") == "TRUE" && !legacy) {
        cache.showing = def;
        return def;
    }
    DiscardDialog(app, name);
    def = ParseDialog(app, name);
    if (def == nullptr) {
        return nullptr;
    }
    BuildDialogTemplate(app, *def, screen);
    cache.showing = def;
    return def;
}

void FreeDialog(AppSession& app, DialogDefinition* def) {
    if (def == nullptr || !app.dialogCache) {
        return;
    }
    DialogCache& cache = *app.dialogCache;
    if (cache.showing == def) {
        cache.showing = nullptr;
    }
    auto found =
        std::find_if(cache.definitions.begin(), cache.definitions.end(),
                     [def](const std::unique_ptr<DialogDefinition>& held) { return held.get() == def; });
    if (found != cache.definitions.end()) {
        cache.definitions.erase(found);
    }
}

void DiscardDialog(AppSession& app, std::string_view name) {
    FreeDialog(app, FindCachedDialog(app, name));
}

}  // namespace tavoe
