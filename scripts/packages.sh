# Installs the Debian packages that are missing, with sudo only when not root. Sourced by ./run and
# ./test: ensure_packages PACKAGE...
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building the program needs (TEST_PACKAGES: what the tests need besides).
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev
    libqt6svg6 libgl-dev fonts-liberation2 fonts-dejavu-core libhunspell-dev hunspell-en-us)
TEST_PACKAGES=(libreoffice-writer-nogui desktop-file-utils appstream lintian dpkg-dev
    poppler-utils)
