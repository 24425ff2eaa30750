# KINETILE_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report aborts the program, so tests fail.
option(KINETILE_SANITIZE "Build with ASan and UBSan" OFF)
if(KINETILE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

# The fuzz build instruments every library for coverage; only the fuzz
# targets link libFuzzer's main.
if(KINETILE_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g)
  add_link_options(-fsanitize=address,undefined)
endif()
