// How a Geometry is shaded: its shader and the per-material uniforms.
//
// Materials are made once at start-up and shared by every object that looks
// alike (all logs share one, all crowns another). They are immutable: no
// setters, so two objects sharing a material always draw with the same
// values. setUniforms() expects the caller to have made the shader current.
#pragma once

#include <glm/vec3.hpp>
#include <memory>

#include "render/shader.h"
#include "render/texture.h"

class Material {
  public:
    Material(std::shared_ptr<Shader> shader, const glm::vec3& baseColor,
             const glm::vec3& materialCoefficients, float specularAlpha);
    virtual ~Material() = default;

    Material(const Material&) = delete;
    Material& operator=(const Material&) = delete;

    static std::shared_ptr<Material> create(std::shared_ptr<Shader> shader,
                                            const glm::vec3& baseColor,
                                            const glm::vec3& materialCoefficients,
                                            float specularAlpha);

    // Non-owning: the material keeps its shader alive.
    Shader* getShader() const { return shader_.get(); }

    // Sends "materialCoefficients", "specularAlpha" and "baseColor", in that
    // order, to the (already current) shader.
    virtual void setUniforms();

  protected:
    std::shared_ptr<Shader> shader_;
    glm::vec3 baseColor_;
    glm::vec3 materialCoefficients_;  // three lighting weights, read by the GLSL files
    float specularAlpha_;             // specular exponent, read by the GLSL files
};

// A material with a diffuse texture on unit 0. It takes no base colour; the
// "baseColor" it still sends is white, so a textured shader that multiplies
// by it shows the texture unchanged.
class TextureMaterial : public Material {
  public:
    TextureMaterial(std::shared_ptr<Shader> shader, const glm::vec3& materialCoefficients,
                    float specularAlpha, std::shared_ptr<Texture> diffuseTexture);

    static std::shared_ptr<Material> create(std::shared_ptr<Shader> shader,
                                            const glm::vec3& materialCoefficients,
                                            float specularAlpha,
                                            std::shared_ptr<Texture> diffuseTexture);

    // The plain material's three uniforms, then the texture bound on unit 0
    // (nothing is bound when it failed to load) and "diffuseTexture" = 0.
    void setUniforms() override;

  private:
    std::shared_ptr<Texture> diffuseTexture_;
};
