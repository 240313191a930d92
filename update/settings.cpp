// The update server's address and the HTTP limits.
#include "update/settings.h"

#include <cstdio>
#include <cctype>
#include <cstring>

namespace {

bool IsWebAddress(const std::string& url)
{
    return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

std::string WithSlash(std::string url)
{
    if (url.empty() || url.back() != '/')
        url += '/';
    return url;
}

} // namespace

bool IsPlaceholderUrl(const std::string& url)
{
    const size_t scheme = url.find("://");
    if (scheme == std::string::npos)
        return false;
    std::string host = url.substr(scheme + 3, url.find_first_of("/?#", scheme + 3) - (scheme + 3));
    host = host.substr(host.rfind('@') == std::string::npos ? 0 : host.rfind('@') + 1);
    host = host.substr(0, host.find(':'));
    for (char& c : host)
        c = (char)tolower((unsigned char)c);
    while (!host.empty() && host.back() == '.')
        host.pop_back();
    for (const char* reserved : {"example.com", "example.net", "example.org", "example", "invalid"}) {
        const std::string name = reserved;
        if (host == name
            || (host.size() > name.size() && host.compare(host.size() - name.size() - 1, std::string::npos, "." + name) == 0))
            return true;
    }
    return false;
}

std::string DefaultBaseUrl()
{
    return WithSlash(GORV_UPDATE_URL);
}

std::string ChooseBaseUrl(int argc, char** argv, const char* variable)
{
    std::string chosen;
    const size_t optionlength = strlen(UPDATEURL_OPTION);
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        if (arg == UPDATEURL_OPTION && i + 1 < argc)
            chosen = argv[++i];
        else if (arg.compare(0, optionlength + 1, std::string(UPDATEURL_OPTION) + "=") == 0)
            chosen = arg.substr(optionlength + 1);
    }
    if (chosen.empty() && variable)
        chosen = variable;
    if (chosen.empty())
        return DefaultBaseUrl();
    if (!IsWebAddress(chosen)) {
        fprintf(stderr, "ERROR: The update address %s is not http or https; using %s.\n", chosen.c_str(),
                DefaultBaseUrl().c_str());
        return DefaultBaseUrl();
    }
    return WithSlash(chosen);
}
