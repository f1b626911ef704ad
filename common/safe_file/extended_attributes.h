// The access ACL and the user's extended attributes, which a file replaced by a new one would
// otherwise lose (and with the ACL its mask, turning into plain group access).
#pragma once

#include <string>

#include "safe_file.h"

namespace safefile {

// Gives the file open as to the access ACL and the "user." attributes of the file open as from,
// and takes away an ACL that to inherited from its folder when from has none. false with failure
// when one cannot be copied.
bool copyExtendedAttributes(int from, int to, const std::string& shownPath, Failure& failure);

} // namespace safefile
