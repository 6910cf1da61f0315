// Serving.h - serving one event the way the library's flow describes it: the
// event lookup export, the info dialog when the family's "InfoDialog"
// setting asks for it (counting down, cancellable), then TrComLaunch. What
// stops an event on its way is named: a family switched off, nothing bound,
// a data file that cannot be read, a launch the launcher refused.
#ifndef TRELVANE_SERVING_H
#define TRELVANE_SERVING_H

#include <windows.h>

#include <TrCommon.h>

#include <string>

namespace trelvane {

class Reporter;

// The event families whose settings the server reads.
enum class Family { PPK, SKey, Timer, Flashpod, Usb, Xbus };

// A device that arrived, as the finder wants to know it.
struct Device {
    enum Kind { Usb, Ieee1394, Medium } kind = Usb;
    std::string instanceId;  // Usb, Ieee1394: "USB\VID_1234&PID_5678\SERIAL", "1394\VENDOR&MODEL\UNIQUEID"
    DWORD drive = 0;         // Medium: 0 for A
};

// The family's settings as its read export delivers them (missing values
// at the export's defaults).
struct FamilySettings {
    DWORD enable = 1;
    DWORD newDevice = 1;
    DWORD infoSeconds = 0;
};
FamilySettings ReadFamilySettings(Family family);

// How serving an event ended.
enum class Outcome { Started, NothingBound, Disabled, Cancelled, Failed };

class Serving {
public:
    explicit Serving(Reporter& reporter) : m_reporter(reporter) {}

    // A PPK or SKey key: its event code (the lookup adds the PPK modifiers).
    Outcome ServeKey(DWORD eventCode);
    // A device or a medium that arrived.
    Outcome ServeDevice(const Device& device);
    // The timer's application, with the info dialog when the timer's
    // settings ask for it (withInfo) or straight away.
    Outcome ServeTimer(bool withInfo);
    // An application chosen in the jog menu: started at once.
    Outcome LaunchChosen(const std::string& label, const TR_APP_DATA_STRUC& app);

private:
    Outcome Looked(const std::string& label, BOOL found, WORD mask, Family family, const TR_APP_DATA_STRUC& app,
                   bool withInfo = true);
    Outcome Launch(const std::string& label, const TR_APP_DATA_STRUC& app, DWORD infoSeconds);
    Outcome ServeMedium(const Device& device);

    Reporter& m_reporter;
};

}  // namespace trelvane

#endif  // TRELVANE_SERVING_H
