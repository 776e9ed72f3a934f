# The game's fixed address range, 0x401000 up to the simulator's own code at 0xB00000:
# uninitialised (no file space), writable and executable, as the game's image would be.
    .section .hostimg,"bwx"
    .globl _sim_host_image
_sim_host_image:
    .space 0x6FF000
