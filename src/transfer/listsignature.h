#pragma once
// The file list's signature. A program built with the publisher's public key takes a
// list from the site only when the site also hands over the publisher's signature of
// its exact bytes; a program built without one takes lists as they come.
#include <string>

namespace sys {
class Internet;
}

// The PEM public key the program was built with; empty: lists are not checked.
void SetListPublicKey(std::string publicKeyPem);

// Fetches the signature of the session's list and checks the downloaded list against
// it; true at once without a key. A refusal is logged and shown, and gives false.
bool CheckListSignature(sys::Internet& internet, const std::string& listPath);
