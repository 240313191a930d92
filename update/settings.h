// Where updates come from: a build-time default (GORV_UPDATE_URL), overridden for a test server or a mirror.
#pragma once
#include <string>

constexpr const char* UPDATEURL_OPTION = "--url";               // "--url URL" or "--url=URL" on the command line
constexpr const char* UPDATEURL_VARIABLE = "GORVANEL_UPDATE_URL"; // or this environment variable

std::string DefaultBaseUrl();           // the address built in
// The base URL to use: the command line's, else the variable's (may be null), else the default. One
// that is not http or https is refused with a log line; the result always ends in '/'.
std::string ChooseBaseUrl(int argc, char** argv, const char* variable);
// True for the address built in until there is a real server: a host of the names kept for examples
// (example.com, .net, .org and below, the .example and .invalid domains).
bool IsPlaceholderUrl(const std::string& url);
