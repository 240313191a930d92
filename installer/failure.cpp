// The texts of the failure box.
#include "installer/failure.h"

#include <cerrno>

#include "common/swap.h"
#include "installer/record.h"
#include "platform/files.h"

namespace {

std::string Lead(FailureWalk walk)
{
    return walk == WALK_INSTALL
        ? "An error has occurred during the install process.\nPlease reinstall this program.\n\nError: "
        : "An error has occurred during the uninstall process.\n\nError: ";
}

} // namespace

std::string FailureMessage(FailureWalk walk, const std::string& text)
{
    return Lead(walk) + text;
}

std::string FailureMessage(FailureWalk walk, const SUPEREXCEPTION& failure)
{
    // The operation and its number for whoever helps, the system's words for the user.
    return Lead(walk) + failure.text + "\nError Code: " + std::to_string(failure.code) + " (" + ErrorText(failure.code)
           + ")";
}

std::string ErrorText(int32_t code)
{
    switch (code) {
    case RECORD_NOKEY:
        return "The install record's key cannot be used";
    case RECORD_LINKED:
        return "The install record's folder is a link";
    case RECORD_MISSING:
        return "There is no install record";
    case SWAP_NOTOURS:
        return "A work file of the install was replaced";
    case ELOOP:
        return "A folder on the way is a link, which is never followed";
    default:
        return SystemErrorText(code);
    }
}
