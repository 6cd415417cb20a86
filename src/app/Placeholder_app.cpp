namespace { [[maybe_unused]] int placeholder_app = 0; }
