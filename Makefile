# make run      installs what is missing (apt-get), builds, starts Tamsel
# make package  the Debian package, tamsel_<version>_<arch>.deb, in this folder
# make test     the same set-up and the package, then every test (unit, Qt,
#               soak, end-to-end on Xvfb, the package's checks and its install
#               round trip), then the unit, Qt and soak tests again under
#               ASan + UBSan

BUILD  ?= build
SANITIZE_BUILD ?= build-sanitize
PACKAGE_BUILD ?= build-deb
JOBS   ?= 2
CMAKE_FLAGS ?=

# Everything a fresh Debian 12 needs to build, run and test.
PACKAGES := cmake g++ make qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev libxss-dev \
            libsqlite3-dev googletest libgtest-dev libgmock-dev xvfb xdotool x11-utils x11-xserver-utils \
            trayer xcompmgr openbox dbus fonts-dejavu-core imagemagick python3 \
            desktop-file-utils valgrind locales libcanberra-dev libglib2.0-bin \
            libwayland-dev wayland-protocols plasma-wayland-protocols libxkbcommon-dev \
            kwin-wayland sway mutter xwayland grim gjs gnome-shell nodejs \
            build-essential dpkg-dev debhelper pkgconf lintian appstream man-db \
            libpulse-dev libglib2.0-dev pulseaudio pulseaudio-utils wmctrl \
            qt6-l10n-tools qt6-tools-dev qt6-translations-l10n

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test check-sanitize package install uninstall clean bench

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi
# The version check is also tested in German, where 2.7 is written 2,7.
	@locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8' || $(SUDO) localedef -i de_DE -f UTF-8 de_DE.UTF-8

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tamsel

test: build
	$(MAKE) package
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) check-sanitize

# The version, written once: project(VERSION) in CMakeLists.txt.
VERSION = $(shell sed -n 's/^project.tamsel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
DEB = tamsel_$(VERSION)_$(shell dpkg --print-architecture).deb

# Built by dpkg-buildpackage (debian/) from a copy of the sources in
# $(PACKAGE_BUILD)/src: what git tracks, or everything but the build folders
# outside a git checkout. The package's tests are not run there: `make test`
# runs them.
package: deps
	rm -rf $(PACKAGE_BUILD) $(DEB)
	mkdir -p $(PACKAGE_BUILD)/src
	if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then \
	  git ls-files -z --cached --others --exclude-standard | \
	    tar -c --null --ignore-failed-read -T - -f - | tar -x -C $(PACKAGE_BUILD)/src; \
	else \
	  tar -c --exclude-vcs --exclude='./build*' --exclude='./*.deb' -f - . | tar -x -C $(PACKAGE_BUILD)/src; \
	fi
	cd $(PACKAGE_BUILD)/src && \
	  DEB_BUILD_OPTIONS="nocheck parallel=$(JOBS) $(DEB_BUILD_OPTIONS)" dpkg-buildpackage -us -uc -b
	cp $(PACKAGE_BUILD)/$(DEB) .
	@echo "Built $(DEB); install it with: sudo apt install ./$(DEB)"

# The tests that need no X server, built with AddressSanitizer (leaks
# included) and UndefinedBehaviorSanitizer; any report fails the run.
check-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTAMSEL_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target tamsel_unit_tests tamsel_qt_tests tamsel_soak
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(SANITIZE_BUILD) -L 'unit|qt|soak' --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# Removes the installed files, then the folders the install created (deepest
# first, only when empty); folders that were there before stay.
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "Nothing installed from $(BUILD)"; exit 0; }; \
	xargs -d '\n' rm -fv < $(BUILD)/install_manifest.txt; \
	if [ -f $(BUILD)/install_created_dirs.txt ]; then \
	  sort -r $(BUILD)/install_created_dirs.txt | while IFS= read -r dir; do \
	    [ -d "$$dir" ] && rmdir "$$dir" 2>/dev/null && echo "removed directory '$$dir'"; \
	  done; \
	  rm -f $(BUILD)/install_created_dirs.txt; \
	fi; \
	rm -f $(BUILD)/install_manifest.txt

# Footprint of tamsel against a minimal Qt tray app, side by side on Xvfb
# (about 18 minutes); not part of `make test`.
bench: build
	cmake --build $(BUILD) -j $(JOBS) --target tamsel-timelapse tamsel-nohistory
	python3 bench/run.py --build $(BUILD) --results bench/RESULTS.md

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(PACKAGE_BUILD)
