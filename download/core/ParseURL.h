// Splits a download address into host name, object path and the secure flag.
#pragma once
#include <string>
#include <string_view>

struct TParsedURL {
    std::string HostName;
    std::string ObjectPath;
    bool Secure = false;
};

// Removes a leading "http://" or "https://" (any case; "https://" sets Secure), then splits
// at the first "/": the host name is the text before it, the object path the text from it to
// the end. Without a "/" the host name and the path are empty, so no server is reached. A
// port written in the address stays part of the host name.
TParsedURL ParseURL(std::string_view url);
