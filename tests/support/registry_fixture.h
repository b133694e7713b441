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
    // Creates subkey `name`, any Unicode, with a default value of `type` holding `bytes`, as
    // other tools write them.
    static void CreateSubkeyW(const std::wstring& name, DWORD type, const std::string& bytes);
    // The bytes of a UTF-16 text, its terminating zero included.
    static std::string Utf16(const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
    }
    // Subkey names in enumeration order.
    static std::vector<std::string> SubkeyNames();
    // A subkey as "target|contexts|flags" in hex ("<none>" and deadbeef for missing values),
    // or "<missing>".
    static std::string ReadSubkey(const char* name);
    // A subkey's default value exactly as stored, read as UTF-16, or L"<missing>".
    static std::wstring ReadSubkeyW(const std::wstring& name);
    static void DeleteMenuExtKey();
    static bool MenuExtKeyExists();
};
