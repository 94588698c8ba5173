#pragma once
// The application password: a package header may carry one (each byte stored
// doubled); opening the application then asks for it.
#include <string>

#include "ui/form.hpp"

namespace ui {
class Host;
}

namespace apps {

class TfaHeader;

// The password dialog's resource and entry; the entry takes 25 characters.
inline constexpr int kAppPasswordDialog = 136;
inline constexpr int kAppPasswordEntry = 1361;
inline constexpr int kAppPasswordChars = 25;

// Whether entry (UTF-8, as typed) opens the application: it is cut to 25
// characters, converted to 8-bit and compared exactly (letter case counts)
// with the stored password with each byte halved. A header without a password
// (first stored byte 0) asks for none: every entry opens it.
bool appPasswordAccepted(const TfaHeader& header, const std::string& entry);

ui::Form appPasswordForm();

// Asks for the application password until it is right ("PassWord Not Valid",
// caption "Error", for each wrong one) or the user cancels: true when it was
// entered, false on Cancel.
bool checkAppPassword(ui::Host& host, const TfaHeader& header);

}  // namespace apps
