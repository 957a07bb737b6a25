#!/usr/bin/env bash
# mpirun as the tests start it: on this machine only, with more ranks than
# cores (--oversubscribe), as root too (containers and CI run as root, which
# OpenMPI refuses unless told twice), over shared memory between the ranks
# by the plain point-to-point layer (ob1: MPI_Init takes a tenth of a second
# instead of a third, without probing for network hardware).
# MPIRUN names another mpirun.
# Without mpirun (Debian's openmpi-bin) the tests are skipped (status 77).
mpirun=${MPIRUN:-mpirun}
command -v "$mpirun" >/dev/null || { echo "SKIPPED: no mpirun" >&2; exit 77; }
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
exec "$mpirun" --oversubscribe --mca pml ob1 --mca btl self,vader "$@"
