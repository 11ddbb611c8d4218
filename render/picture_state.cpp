#include "render/picture_state.h"

#include <GL/glew.h>

void applyPictureRequests() {
    for (const PictureRequest& request : pictureRequests) {
        switch (request.kind) {
            case PictureRequest::Kind::Viewport:
                glViewport(0, 0, request.width, request.height);
                break;
            case PictureRequest::Kind::Wireframe:
                glPolygonMode(GL_FRONT_AND_BACK, request.on ? GL_LINE : GL_FILL);
                break;
            case PictureRequest::Kind::BackfaceCulling:
                if (request.on) {
                    glEnable(GL_CULL_FACE);
                } else {
                    glDisable(GL_CULL_FACE);
                }
                break;
        }
    }
    pictureRequests.clear();
}
