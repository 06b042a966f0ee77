# Everything a fresh Debian 12 machine needs, from Debian's own packages.
PACKAGES := cmake g++ make libgtest-dev libgmock-dev libcli11-dev libsimpleini-dev qt6-base-dev

BUILD_DIR := build
JOBS := $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON

.PHONY: deps build test demo clean

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi; \
	  $$sudo apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y --no-install-recommends $$missing; \
	fi

build:
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: deps build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Converts the bundled example with every translation on, in a copy of its output folder.
demo: deps build
	@rm -rf $(BUILD_DIR)/demo && mkdir -p $(BUILD_DIR)/demo && cp -R examples/output $(BUILD_DIR)/demo/
	$(BUILD_DIR)/bin/brennic-cli --mission-dir examples/gtadata --output-dir $(BUILD_DIR)/demo/output --all | tr -d '\r'
	@echo "Scripts written to $(BUILD_DIR)/demo/output:"
	@ls -1 $(BUILD_DIR)/demo/output | grep -i '\.mis$$'

clean:
	rm -rf $(BUILD_DIR)
