# The native test build runs under AddressSanitizer and UndefinedBehaviorSanitizer;
# any finding ends the test run.
if(MARNELL_SANITIZE AND NOT MSVC)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
