// The message handed to the SMTP client: sender, recipients, subject, body and header options.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mail {

// Texts of the message's short fields are held in at most this many characters (UTF-8).
constexpr std::size_t MaxShortText = 255;

// One mailbox: display name and address.
class TmsMailAddress {
public:
    TmsMailAddress() = default;
    TmsMailAddress(const std::string &name, const std::string &address);

    const std::string &Name() const { return name_; }
    const std::string &Address() const { return address_; }
    void SetName(const std::string &name);
    void SetAddress(const std::string &address);

private:
    std::string name_;
    std::string address_;
};

// An ordered list of mailboxes (To, CC or BCC).
class TmsAddressList {
public:
    void Add(const std::string &name, const std::string &address) { items_.emplace_back(name, address); }
    void Clear() { items_.clear(); }
    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    const TmsMailAddress &operator[](std::size_t index) const { return items_[index]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<TmsMailAddress> items_;
};

enum class TmsPriority { ptLow, ptNormal, ptHigh };
enum class TmsEncoding { meMIME, meUU };
enum class TmsCharSet { csUSASCII, csISO8859, csISO2022jp };

// The message to deliver: one sender, recipients by address, a plain-text or HTML body.
class TmsMessage {
public:
    TmsMailAddress Sender;
    TmsAddressList Recipients;
    TmsAddressList CC;
    TmsAddressList BCC;
    std::vector<std::string> Body;
    bool ReturnReceipt = false;
    TmsPriority Priority = TmsPriority::ptNormal;
    TmsEncoding Encoding = TmsEncoding::meMIME;
    TmsCharSet CharSet = TmsCharSet::csUSASCII;
    std::vector<std::string> Headers;

    const std::string &Subject() const { return subject_; }
    void SetSubject(const std::string &subject);
    // Stored in lower case, whatever case it is given in.
    const std::string &ContentType() const { return contentType_; }
    void SetContentType(const std::string &contentType);

private:
    std::string subject_;
    std::string contentType_ = "text/plain";
};

} // namespace mail
