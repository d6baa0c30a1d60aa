#pragma once
// A key pair made for the signature checks (its private half is not kept), a second
// public key, and the first key's signature of kSigned: RSA, SHA-256, PKCS #1 v1.5.
namespace testkeys {
inline constexpr char kSigned[] = "The list as the site sends it.\r\n";
inline constexpr char kPublicKey[] =
    "-----BEGIN PUBLIC KEY-----\n"
    "MIGfMA0GCSqGSIb3DQEBAQUAA4GNADCBiQKBgQDFbSacpLvua76wKV7icvErw0pq\n"
    "JUuPNXdVfeWkRCGD9Ofdjb2vxUPAxiMGGRZvdWRvviDlgYLhJnKg+mvF+mNM3gb/\n"
    "TXyQTQHQ88UD/F5RefBM+YD6WjQJ8NrtoY7PNhTmqwQ0i67KCQLXeBRnKzSijSgV\n"
    "1tDlvQ8mB+FU4iySJQIDAQAB\n"
    "-----END PUBLIC KEY-----\n";
inline constexpr char kOtherPublicKey[] =
    "-----BEGIN PUBLIC KEY-----\n"
    "MIGfMA0GCSqGSIb3DQEBAQUAA4GNADCBiQKBgQDTDsYHTd65p8RjJpREFvnPAT9W\n"
    "UQWTwf2x5AlwaTvoCI9Wqv1Cwdb6Ut7EX/zdqK464f5ATyzNjX8pc7Y20l8EoXWe\n"
    "p/ZnMw+ovFQ8D5kO+xw7GwSpx4xt4c8z5+sWhU2RNSAfmfFTRtmP5dBSIpozGdGm\n"
    "u5kfKCgC0owwDeObXwIDAQAB\n"
    "-----END PUBLIC KEY-----\n";
inline constexpr char kSignature[] =
    "KJa7L6xk+d+7WsN2PHTG4RzIKSIaQAu4O4hTfXNZHPsnidH2jbFUNMNtgkYkLuehP7SVikR7AQ3SvPfstEKKbgM7VuwrpCa/"
    "CyJ/mKy3k81FWQ48MVzWsSTz5/gfvEkgbDEdzI9KOKZiGsprs0g7nTTdls+HK/BwUyGDHC2ihtM=";
}  // namespace testkeys
