#include "tools/lmstand/test_printers.h"

#include <windows.h>
#include <winspool.h>

namespace {

std::string ErrorText(const char* what) { return std::string(what) + " failed, error " + std::to_string(GetLastError()); }

}  // namespace

bool AddTestPrinter(const std::string& name, const std::string& driver, const std::string& port,
                    unsigned long attributes, std::string* error) {
    DRIVER_INFO_3A info = {};
    info.cVersion = 3;
    info.pName = const_cast<char*>(driver.c_str());
    info.pDriverPath = const_cast<char*>("wineps.drv");
    info.pDataFile = const_cast<char*>("wineps.drv");
    info.pConfigFile = const_cast<char*>("wineps.drv");
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&info)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        // Wine also answers an existing driver with success; anything else is real.
        if (error) *error = ErrorText("AddPrinterDriverA");
        return false;
    }
    PRINTER_INFO_2A printer = {};
    printer.pPrinterName = const_cast<char*>(name.c_str());
    printer.pPortName = const_cast<char*>(port.c_str());
    printer.pDriverName = const_cast<char*>(driver.c_str());
    printer.pPrintProcessor = const_cast<char*>("winprint");
    printer.pDatatype = const_cast<char*>("RAW");
    printer.Attributes = attributes;
    HANDLE handle = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&printer));
    if (handle) {
        ClosePrinter(handle);
        return true;
    }
    if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
        if (error) *error = ErrorText("AddPrinterA");
        return false;
    }
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &handle, &access)) {
        if (error) *error = ErrorText("OpenPrinterA");
        return false;
    }
    DWORD needed = 0;
    GetPrinterA(handle, 2, nullptr, 0, &needed);
    std::string buffer(needed ? needed : 1, '\0');
    bool ok = GetPrinterA(handle, 2, reinterpret_cast<LPBYTE>(&buffer[0]), needed, &needed) != 0;
    if (ok) {
        PRINTER_INFO_2A* current = reinterpret_cast<PRINTER_INFO_2A*>(&buffer[0]);
        current->pPortName = printer.pPortName;
        current->pDriverName = printer.pDriverName;
        current->Attributes = attributes;
        current->pSecurityDescriptor = nullptr;
        ok = SetPrinterA(handle, 2, reinterpret_cast<LPBYTE>(current), 0) != 0;
    }
    if (!ok && error) *error = ErrorText("SetPrinterA");
    ClosePrinter(handle);
    return ok;
}

bool SetPortCommand(const std::string& port, const std::string& command, std::string* error) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Printing\\Spooler", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        if (error) *error = "cannot open the Wine spooler key";
        return false;
    }
    const LONG result = RegSetValueExA(key, port.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                       static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
    if (result != ERROR_SUCCESS && error) *error = "cannot set the port command";
    return result == ERROR_SUCCESS;
}

bool DeleteTestPrinter(const std::string& name) {
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &handle, &access)) return false;
    const bool ok = DeletePrinter(handle) != 0;
    ClosePrinter(handle);
    return ok;
}

bool SetDefaultTestPrinter(const std::string& name, std::string* error) {
    if (SetDefaultPrinterA(name.c_str())) return true;
    if (error) *error = ErrorText("SetDefaultPrinterA");
    return false;
}
