# Warnings on everywhere; errors in CI.
add_compile_options(-Wall -Wextra)
if(KD_WERROR)
  add_compile_options(-Werror)
endif()
if(KD_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
