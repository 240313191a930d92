// The texts of the failure box.
#include "installer/failure.h"

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
    return Lead(walk) + failure.text + "\nError Code: " + std::to_string(failure.code);
}
