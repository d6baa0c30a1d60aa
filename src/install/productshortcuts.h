#pragma once
// The product's own shortcuts: the one the product line decides (with a second one for
// DORVAL5 and KS) and the documents tool in the Send To folder. Each first cleans the
// folder of what it replaces; with `removeOnly` it only cleans (the uninstall).
void MakeProductShortcuts(bool removeOnly, int csidl);
void MakeSendToShortcut(bool removeOnly);
