// Gives each test an empty MenuExt key in the test prefix's registry and removes it afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

class RegistryKeyGuard {
public:
    RegistryKeyGuard();   // deletes the MenuExt key tree
    ~RegistryKeyGuard();  // deletes it again

    // Creates subkey `name` with the given default value (nullptr: none) and optional DWORDs.
    static void CreateSubkey(const char* name, const char* target, const DWORD* contexts = nullptr,
                             const DWORD* flags = nullptr);
    // Subkey names in enumeration order.
    static std::vector<std::string> SubkeyNames();
    // A subkey as "target|contexts|flags" in hex ("<none>" and deadbeef for missing values),
    // or "<missing>".
    static std::string ReadSubkey(const char* name);
    static void DeleteMenuExtKey();
    static bool MenuExtKeyExists();
};
