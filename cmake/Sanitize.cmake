# KOA_SANITIZE=ON: address and undefined-behaviour sanitizers for the native
# build, on every target including the test framework; any report fails.
if(KOA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()
