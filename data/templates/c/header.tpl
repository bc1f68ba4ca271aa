#ifndef %cursor%NAME_H
#define NAME_H

#endif /* NAME_H */
