// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/busreporteddescription.h"

// The property keys and device classes are defined here: no import library
// carries them.
#define INITGUID
#include <windows.h>

#include <devguid.h>
#include <devpkey.h>
#include <setupapi.h>

namespace {

// The "PortName" value of the device's hardware key, such as COM7.
QString portName(HDEVINFO devices, SP_DEVINFO_DATA &device)
{
    const HKEY key =
        SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[64] = {};
    DWORD size = sizeof(name) - sizeof(wchar_t);
    DWORD type = 0;
    const bool read = RegQueryValueExW(key, L"PortName", nullptr, &type,
                                       reinterpret_cast<BYTE *>(name), &size) == ERROR_SUCCESS &&
                      type == REG_SZ;
    RegCloseKey(key);
    return read ? QString::fromWCharArray(name) : QString();
}

QString busReportedDescription(HDEVINFO devices, SP_DEVINFO_DATA &device)
{
    wchar_t text[256] = {};
    DEVPROPTYPE type = 0;
    if (!SetupDiGetDevicePropertyW(devices, &device, &DEVPKEY_Device_BusReportedDeviceDesc, &type,
                                   reinterpret_cast<BYTE *>(text), sizeof(text) - sizeof(wchar_t),
                                   nullptr, 0) ||
        type != DEVPROP_TYPE_STRING)
        return {};
    return QString::fromWCharArray(text);
}

} // namespace

// The same device classes Qt lists serial ports from.
QHash<QString, QString> busReportedDescriptions()
{
    QHash<QString, QString> descriptions;
    for (const GUID &deviceClass : {GUID_DEVCLASS_PORTS, GUID_DEVCLASS_MODEM}) {
        const HDEVINFO devices =
            SetupDiGetClassDevsW(&deviceClass, nullptr, nullptr, DIGCF_PRESENT);
        if (devices == INVALID_HANDLE_VALUE)
            continue;
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof(device);
        for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
            const QString name = portName(devices, device);
            const QString description = busReportedDescription(devices, device);
            if (!name.isEmpty() && !description.isEmpty())
                descriptions.insert(name, description);
        }
        SetupDiDestroyDeviceInfoList(devices);
    }
    return descriptions;
}
