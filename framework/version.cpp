const char* FrameworkVersion() { return "0"; }
