#pragma once

namespace platform::registry {

// Results of the key handle operations (Key.h), numbered as the Windows registry numbers them.
enum Status : int {
    Success = 0,
    NotFound = 2,          // no such key or value
    AccessDenied = 5,      // the root's file cannot be written, the handle lacks the access
                           // asked for, or the key to delete still has subkeys
    InvalidHandle = 6,     // the key is not open
    WriteFault = 29,       // the store could not be locked, set aside or written
    InvalidParameter = 87, // a key path with an empty name between two backslashes
    NoMoreItems = 259,     // enumeration index past the last subkey or value
};

} // namespace platform::registry
