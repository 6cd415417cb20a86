// placeholder, replaced as the folder's classes arrive
namespace { [[maybe_unused]] int placeholder_projects = 0; }
