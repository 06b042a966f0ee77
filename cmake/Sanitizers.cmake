if(BRENNIC_SANITIZE OR BRENNIC_BUILD_FUZZ)
    set(brennic_sanitizers address,undefined)
    if(BRENNIC_BUILD_FUZZ)
        # Instrument every library for coverage; the fuzz target links libFuzzer's main itself.
        set(brennic_sanitizers fuzzer-no-link,${brennic_sanitizers})
    endif()
    add_compile_options(-fsanitize=${brennic_sanitizers} -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
