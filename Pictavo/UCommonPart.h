#pragma once
// The product title and the product's web addresses.

#include <QString>

// "Vexasoft Lumivue": the main window's caption and that of every message box.
QString ProductTitle();

// The address used when the product-links file or the key is missing: the maker's home page.
QString DefaultProductLink();

// The value of `key` in section "link" of the program folder's "knilaxev.dat" (section and key
// compare without case), or the default address.
QString ReadProductLink(const QString &key);
