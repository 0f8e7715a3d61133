#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The five kinds of call a voice port takes or places, as RawPortData.CallType
// stores them, with the texts the server logs and the names the reports use.
// Every report goes through these tables instead of its own.
namespace tarrow::store {

enum CallType : std::int16_t {
    Inbound = 1,
    Notification = 2,
    Mwi = 3,
    Trap = 4,
    Amis = 5,
    Disconnect = 99, // a disconnect sample, not a call
};

inline constexpr std::size_t kCallTypeCount = 5;

// Whether a stored CallType is one of the five call types.
[[nodiscard]] constexpr bool isCallType(int code) {
    return code >= Inbound && code <= Amis;
}

// The index of a call type in arrays kept by type (0 for inbound ... 4 for AMIS).
[[nodiscard]] constexpr std::size_t typeIndex(int type) {
    return static_cast<std::size_t>(type - 1);
}

struct CallTypeInfo {
    CallType type;
    std::string_view eventText; // the log's event text, upper case
    const char* countColumn;    // result-table column of call counts
    const char* secondsColumn;  // PortTimeUsage column of call seconds
    const char* label;          // "Inbound Calls", as the load message names it
    const char* key;            // "inbound", as Capacity.json and the metrics name it
};

// Indexed by typeIndex().
inline constexpr std::array<CallTypeInfo, kCallTypeCount> kCallTypes = {{
    {Inbound, "NEW CALL", "InboundCalls", "InboundCallSeconds", "Inbound Calls", "inbound"},
    {Notification, "NOTIFICATION DIAL OUT", "NotificationDialouts", "NotificationDialoutSeconds",
     "Notification Dialouts", "notification"},
    {Mwi, "MWI DIAL OUT", "MWIDialouts", "MWIDialoutSeconds", "MWI Dialouts", "mwi"},
    {Trap, "TRAP DIAL OUT", "TRAPDialouts", "TRAPDialoutSeconds", "TRAP Dialouts", "trap"},
    {Amis, "AMIS DIAL OUT", "AMISDialouts", "AMISDialoutSeconds", "AMIS Dialouts", "amis"},
}};

// The event text of a disconnect line.
inline constexpr std::string_view kDisconnectEventText = "CALL DISCONNECT";

[[nodiscard]] constexpr const CallTypeInfo& info(CallType type) {
    return kCallTypes[typeIndex(type)];
}

using CallTypeOrder = std::array<CallType, kCallTypeCount>;

// The column order of the stored result tables (CallTraffic, CallDistribution,
// PortTimeUsage).
inline constexpr CallTypeOrder kStoredOrder = {Inbound, Mwi, Amis, Notification, Trap};
// The order of the summary grids and their CSV files, of the per-port charts'
// series and of the load message.
inline constexpr CallTypeOrder kReadingOrder = {Inbound, Mwi, Notification, Trap, Amis};
// The series order of the Call Traffic chart.
inline constexpr CallTypeOrder kTrafficSeriesOrder = {Trap, Inbound, Notification, Amis, Mwi};

// The position of a call type within an order.
[[nodiscard]] constexpr std::size_t positionIn(const CallTypeOrder& order, CallType type) {
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] == type)
            return i;
    return order.size();
}

} // namespace tarrow::store
