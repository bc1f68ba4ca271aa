#include "macro/var_store.h"

#include "shell/app_session.h"

VarRecord* VarLocate(AppSession&, std::string_view) {
    return nullptr;
}
std::string VarGetValue(AppSession&, std::string_view) {
    return {};
}
int VarSetValue(AppSession&, std::string_view, std::string_view) {
    return 0;
}
void VarPushValue(AppSession&, std::string_view, std::string_view) {}
VarRecord* VarSetPersist(AppSession&, std::string_view, int) {
    return nullptr;
}
void VarDelete(AppSession&, std::string_view) {}
VarRecord* VarFirst(AppSession&) {
    return nullptr;
}
VarRecord* VarNext(AppSession&) {
    return nullptr;
}
int VarLongestName(AppSession&) {
    return 0;
}
long VarGetNumber(AppSession&, std::string_view) {
    return 0;
}
bool VarIsTrue(AppSession&, std::string_view) {
    return false;
}
