class CIgnored {};
