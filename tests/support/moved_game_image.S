# The game's address range in an executable loaded at 0x10000000 instead of 0x400000.
    .section .movedimg,"bwx"
    .globl _moved_game_image
_moved_game_image:
    .space 0x6FF000
