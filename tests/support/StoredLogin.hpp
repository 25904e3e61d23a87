#pragma once

#include <string>

#include "platform/ProfileStore.hpp"

namespace tokeiya::test {

// Sets `profile` up the way a returning user's is: the embedded database `databaseFile`,
// created by a first session run here, and the administration account's credentials
// stored so that the login dialog is not shown. False when that first session could not
// start.
bool PrepareStoredLogin(CProfileStore& profile, const std::string& databaseFile);

}  // namespace tokeiya::test
